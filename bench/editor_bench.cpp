// Growing a job row by row: every AddRow renumbers the rows and moves the star. The undo history
// of a full job: one undo step, the copy every command makes, and what 100 steps hold.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

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

// A started editor with 1000 rows, each text cell filled with a 40-byte wire name.
struct FullJob {
    SilentPrompts prompts;
    NullView view;
    qvprt::printing::SimPrinter printer;
    Editor editor{prompts, view, printer, qvprt::printing::system_clock()};

    FullJob() {
        editor.Initialize();
        for (int i = 1; i < 1000; ++i) {
            editor.AddRow();
        }
        for (int i = 0; i < 1000; ++i) {
            std::string name = "W" + std::to_string(i);
            name.resize(40, 'x');
            editor.CommitCell(i, COL_TEXT, name, false);
        }
    }
};

void BM_UndoAtThousandRows(benchmark::State& state) {
    FullJob job;
    job.editor.CommitCell(500, COL_TEXT, "changed", false);
    for (auto _ : state) {
        job.editor.Undo();
        state.PauseTiming();
        job.editor.Redo();
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(job.editor.grid().GetItemCount());
}
BENCHMARK(BM_UndoAtThousandRows)->Unit(benchmark::kMicrosecond);

// What every changing command pays for its step at 1000 rows: a cell commit.
void BM_CommitStepAtThousandRows(benchmark::State& state) {
    FullJob job;
    bool flip = false;
    for (auto _ : state) {
        job.editor.CommitCell(500, COL_TEXT, flip ? "A" : "B", false);
        flip = !flip;
    }
    state.counters["history_bytes"] = static_cast<double>(job.editor.HistoryBytes());
    state.counters["history_steps"] = static_cast<double>(Editor::kMaxUndoSteps);
}
BENCHMARK(BM_CommitStepAtThousandRows)->Unit(benchmark::kMicrosecond);

}  // namespace
