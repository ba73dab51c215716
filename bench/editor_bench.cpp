// Growing a job row by row: every AddRow renumbers the rows and moves the star.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_ports.h"
#include "editor/Editor.h"
#include "printing/sim_printer.h"

namespace {

using namespace qvprt::editor;

using qvprt::bench::NullView;
using qvprt::bench::SilentPrompts;

class CountingListener : public SegmentGridListener {
  public:
    void BeginInsertRows(int, int) override { ++count; }
    void EndInsertRows() override { ++count; }
    void BeginRemoveRows(int, int) override { ++count; }
    void EndRemoveRows() override { ++count; }
    void CellsChanged(int, int, int, int) override { ++count; }
    void CurrentRowChanged(int, bool) override { ++count; }
    void HeaderCheckStateChanged(int) override { ++count; }
    long count = 0;
};

void BM_ThousandAddRows(benchmark::State& state) {
    long notifications = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SilentPrompts prompts;
        NullView view;
        CountingListener listener;
        qvprt::printing::SimPrinter printer;
        auto editor =
            std::make_unique<Editor>(prompts, view, printer, qvprt::printing::system_clock());
        editor->view_grid().SetListener(&listener);
        editor->Initialize();
        state.ResumeTiming();
        for (int i = 1; i < 1000; ++i) {
            editor->AddRow();
        }
        state.PauseTiming();
        notifications = listener.count;
        benchmark::DoNotOptimize(editor->grid().GetItemCount());
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["notifications"] = static_cast<double>(notifications);
}
BENCHMARK(BM_ThousandAddRows)->Unit(benchmark::kMillisecond);

}  // namespace
