#pragma once
// qvprt-cli: the editor without a window. Each command opens its input with the editor's own open
// command, applies the options through the handlers of the window's controls and then runs the
// editor's save, U-disk or print command, so that it does exactly what the window would.

#include <cstdio>
#include <string>
#include <vector>

namespace qvprt::cli {

enum ExitStatus {
    kExitDone = 0,
    kExitUsage = 1,
    kExitFile = 2,     // a file could not be read or written
    kExitPrinter = 3,  // no printer, or the printer failed
    kExitRefused = 4,  // the job was refused (too large, nothing to print)
};

// `args` without the program's name. Results go to `out`; messages, errors and help for a wrong
// call to `err`.
int run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace qvprt::cli
