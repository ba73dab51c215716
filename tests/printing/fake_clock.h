#pragma once

#include <vector>

#include "printing/clock.h"

namespace qvprt::printing {

// Records the waits instead of sleeping.
class FakeClock final : public Clock {
  public:
    void Sleep(int ms) override { sleeps.push_back(ms); }
    std::vector<int> sleeps;
};

}  // namespace qvprt::printing
