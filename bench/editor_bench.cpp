// Growing a job row by row: every AddRow renumbers the rows and moves the star.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/Editor.h"
#include "printing/sim_printer.h"

namespace {

using namespace qvprt::editor;

class SilentPrompts : public Prompts {
  public:
    void ShowMessage(std::string_view, std::string_view, MessageIcon) override {}
    bool AskYesNo(std::string_view, std::string_view) override { return true; }
    std::optional<std::string> ChooseOpenFile(const FileChooser&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileChooser&) override { return {}; }
};

class NullView : public EditorView {
  public:
    void CommitCellEditor() override {}
    void OpenCellEditor(int, int) override {}
    void PostCall(std::function<void()>) override {}
    void ControlChanged(Control) override {}
    void FocusControl(Control) override {}
    void SetPreviewHeight(double) override {}
    void ShowSegments() override {}
    void SetStatusText(std::string_view) override {}
    void ShowStatus() override {}
    void HideStatus() override {}
    void CloseStatus() override {}
    bool StatusExists() override { return false; }
    void ShowContinueCancel(bool) override {}
    void ShowCancelOnly(bool) override {}
    int GetAnswer() override { return 0; }
};

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
        editor->grid.SetListener(&listener);
        editor->Initialize();
        state.ResumeTiming();
        for (int i = 1; i < 1000; ++i) {
            editor->AddRow();
        }
        state.PauseTiming();
        notifications = listener.count;
        benchmark::DoNotOptimize(editor->grid.GetItemCount());
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["notifications"] = static_cast<double>(notifications);
}
BENCHMARK(BM_ThousandAddRows)->Unit(benchmark::kMillisecond);

}  // namespace
