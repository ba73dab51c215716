#pragma once
// Blocking waits go through a clock so that tests can record them instead of sleeping.

namespace qvprt::printing {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual void Sleep(int ms) = 0;
};

// The real clock: blocks the calling thread.
Clock& system_clock();

}  // namespace qvprt::printing
