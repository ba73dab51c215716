// Encoding the largest job the printer takes into transfers, with a writer that only copies.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "printing/job_stream.h"
#include "text/bytes.h"

namespace {

using namespace qvprt;

void BM_SendLargestJob(benchmark::State& state) {
    model::JobSettings settings;
    // 10 + 583 * 105 + (55 + 48) + 2 * (55 + 1) = 61440 bytes.
    std::vector<int> lengths(583, 50);
    lengths.insert(lengths.end(), {48, 1, 1});
    model::SegmentList list;
    for (int len : lengths) {
        model::SegmentNode* tail = list.push_back(settings);
        text::copy_field(tail->text, std::string(static_cast<std::size_t>(len), '\xb0'));
        tail->text_length = static_cast<std::uint8_t>(len);
    }
    std::vector<std::uint8_t> sink(printing::kMaxJobBytes);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        const int r =
            printing::send_job(settings, list.head(), 0, [&](const std::uint8_t* b, std::size_t n) {
                std::memcpy(sink.data() + bytes, b, n);
                bytes += n;
                return true;
            });
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    if (bytes != 61440) {
        state.SkipWithError("the job is not 61440 bytes");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 61440);
    state.counters["ns_per_byte"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 61440,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SendLargestJob);

}  // namespace
