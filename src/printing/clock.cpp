#include "printing/clock.h"

#include <chrono>
#include <thread>

namespace qvprt::printing {

namespace {

class SystemClock final : public Clock {
  public:
    void Sleep(int ms) override {
        if (ms > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }
};

}  // namespace

Clock& system_clock() {
    static SystemClock clock;
    return clock;
}

}  // namespace qvprt::printing
