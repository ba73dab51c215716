// qvprt-cli: the editor without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qvprt::cli::run(args, stdout, stderr);
}
