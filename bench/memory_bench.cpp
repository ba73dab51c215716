// Peak resident memory of the window program: started alone, after opening a 1000-row project and
// previewing its 10^8 copies, and after importing a 1000-row .xlsx wire list and previewing it
// (aim: under 150 MB). Each run is a process of its own, so that one run's memory does not hide in
// the next.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "offscreen_env.h"
#include "wire_lists.h"

namespace {

namespace fs = std::filesystem;

struct Run {
    int status = -1;
    long peak_kb = 0;
    std::string out;
};

Run Spawn(std::vector<std::string> args) {
    qvprt::bench::OffscreenEnvironment env;
    std::string program = QVPRT_MEMORY_RUN;
    std::vector<char*> argv{program.data()};
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    Run run;
    int fds[2];
    if (pipe(fds) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.pointers());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buffer[256];
    for (ssize_t n; spawned == 0 && (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
        run.out.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (spawned != 0) {
        return run;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
        run.peak_kb = usage.ru_maxrss;  // kilobytes on Linux
    }
    return run;
}

// Written once, removed when the benchmark ends.
struct Project {
    fs::path dir = fs::temp_directory_path() / ("qvprt-memory-" + std::to_string(getpid()));
    std::string file;
    std::string sheet = (dir / "wires.xlsx").string();
    Project() {
        fs::create_directories(dir);
        if (Spawn({"make", (dir / "copies.qvk").string()}).status == 0) {
            file = (dir / "copies.qvk").string();
        }
        qvprt::bench::write_file(sheet, qvprt::bench::make_xlsx());
    }
    ~Project() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

const Project& Files() {
    static const Project project;
    return project;
}

void Report(benchmark::State& state, const std::vector<std::string>& args,
            long long expected_copies) {
    for (auto _ : state) {
        const Run run = Spawn(args);
        if (run.status != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        if (std::atoll(run.out.c_str()) != expected_copies) {
            state.SkipWithError(("the preview shows " + run.out + " copies").c_str());
            return;
        }
        state.counters["peak_rss_MB"] = static_cast<double>(run.peak_kb) / 1024.0;
    }
    state.counters["copies"] = static_cast<double>(expected_copies);
}

void BM_PeakMemoryStarted(benchmark::State& state) {
    Report(state, {"start"}, 0);
}
BENCHMARK(BM_PeakMemoryStarted)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PeakMemoryHundredMillionCopyPreview(benchmark::State& state) {
    const std::string& file = Files().file;
    if (file.empty()) {
        state.SkipWithError("could not write the project");
        return;
    }
    Report(state, {"open", file}, 100'000'000);
}
BENCHMARK(BM_PeakMemoryHundredMillionCopyPreview)->Unit(benchmark::kMillisecond)->Iterations(3);

// The list's rows reach the printer's limit at row 907 (see bench_sheets): 906 rows are imported,
// with their repeat counts 1..100 in turn.
void BM_PeakMemoryThousandRowXlsxImport(benchmark::State& state) {
    long long copies = 0;
    for (int i = 0; i < 906; ++i) {
        copies += i % 100 + 1;
    }
    Report(state, {"import", Files().sheet}, copies);
}
BENCHMARK(BM_PeakMemoryThousandRowXlsxImport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
