// Process start to the main window's first paint, on Qt's offscreen platform.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "offscreen_env.h"

namespace {

void BM_StartToFirstPaint(benchmark::State& state) {
    qvprt::bench::OffscreenEnvironment env;
    std::string program = QVPRT_FIRST_PAINT;
    char* argv[] = {program.data(), nullptr};

    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, env.pointers());
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        char byte = 0;
        const bool painted = spawned == 0 && read(fds[0], &byte, 1) == 1;
        const auto end = std::chrono::steady_clock::now();
        close(fds[0]);
        int status = 0;
        if (spawned == 0) {
            waitpid(pid, &status, 0);
        }
        if (!painted) {
            state.SkipWithError("the window did not paint");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
