#pragma once
// The environment of a benchmarked window program: this one's, on Qt's offscreen platform.

#include <string>
#include <vector>

extern char** environ;

namespace qvprt::bench {

// Owns the strings; `pointers()` is the null-ended list posix_spawn takes.
class OffscreenEnvironment {
  public:
    OffscreenEnvironment() {
        strings_.emplace_back("QT_QPA_PLATFORM=offscreen");
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) {
                strings_.emplace_back(*e);
            }
        }
        for (std::string& s : strings_) {
            pointers_.push_back(s.data());
        }
        pointers_.push_back(nullptr);
    }
    OffscreenEnvironment(const OffscreenEnvironment&) = delete;
    OffscreenEnvironment& operator=(const OffscreenEnvironment&) = delete;
    char** pointers() { return pointers_.data(); }

  private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

}  // namespace qvprt::bench
