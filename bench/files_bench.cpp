// Saving and reading back the largest project and a two-block U-disk print file. The "NoSync"
// figures write the bytes with a plain file write; "SafeSave" is the real save, whose extra time
// is the sync to disk.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/job_file.h"
#include "files/project_file.h"
#include "files/safe_write.h"
#include "printing/udisk_file.h"
#include "text/bytes.h"

namespace {

using namespace qvprt;
namespace fs = std::filesystem;

struct Job {
    explicit Job(int rows) {
        model::SegmentNode* tail = nullptr;
        for (int i = 0; i < rows; ++i) {
            tail = list_.push_back(settings);
            text::copy_field(tail->text, std::string(50, static_cast<char>('A' + i % 26)));
            tail->text_length = 50;
        }
        head = list_.head();
        std::string tmpl = (fs::temp_directory_path() / "qvprt-bench-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
    }
    ~Job() { fs::remove_all(dir); }
    model::JobSettings settings;
    model::SegmentList list_;
    model::SegmentNode* head = nullptr;
    fs::path dir;
};

// A new file each time: ext4 flushes a file that was truncated and rewritten when it is closed,
// which is the very sync these figures leave out.
void write_plain(const std::string& path, const std::vector<std::uint8_t>& b) {
    fs::remove(path);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

void check(benchmark::State& state, const files::ReadResult& r, int count) {
    if (!r.ok() || r.count != count) {
        state.SkipWithError("the file did not read back");
    }
}

void BM_ProjectSaveAndReadNoSync(benchmark::State& state) {
    Job job(1000);
    const std::string path = (job.dir / "job.qvk").string();
    for (auto _ : state) {
        write_plain(path, files::encode_project_file(job.settings, job.head));
        const files::ReadResult r = files::read_job_file(path, job.settings);
        check(state, r, 1000);
    }
}
BENCHMARK(BM_ProjectSaveAndReadNoSync)->Unit(benchmark::kMicrosecond);

void BM_ProjectSafeSave(benchmark::State& state) {
    Job job(1000);
    const std::string path = (job.dir / "job.qvk").string();
    for (auto _ : state) {
        const files::WriteResult w = files::save_project_file(path, job.settings, job.head);
        if (!w.ok) {
            state.SkipWithError(w.reason.c_str());
        }
    }
}
BENCHMARK(BM_ProjectSafeSave)->Unit(benchmark::kMicrosecond);

void BM_UdiskWriteAndReadNoSync(benchmark::State& state) {
    Job job(700);
    const std::string path = (job.dir / "job.qvu").string();
    for (auto _ : state) {
        write_plain(path, printing::encode_udisk_file(job.settings, job.head));
        const files::ReadResult r = files::read_job_file(path, job.settings);
        check(state, r, 700);
    }
}
BENCHMARK(BM_UdiskWriteAndReadNoSync)->Unit(benchmark::kMicrosecond);

void BM_UdiskSafeSave(benchmark::State& state) {
    Job job(700);
    const std::string path = (job.dir / "job.qvu").string();
    for (auto _ : state) {
        const files::WriteResult w =
            files::write_file_safely(path, printing::encode_udisk_file(job.settings, job.head));
        if (!w.ok) {
            state.SkipWithError(w.reason.c_str());
        }
    }
}
BENCHMARK(BM_UdiskSafeSave)->Unit(benchmark::kMicrosecond);

}  // namespace
