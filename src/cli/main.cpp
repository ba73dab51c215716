// qvprt-cli: the editor without a window.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("qvprt-cli %s\n", QVPRT_VERSION);
        return 0;
    }
    std::fprintf(stderr, "usage: qvprt-cli --version\n");
    return argc > 1 ? 1 : 0;
}
