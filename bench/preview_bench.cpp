// The preview strip on Qt's offscreen platform: the preview command, one paint of a 1920-px strip
// wherever it is scrolled, the layout of 10^8 serial copies, and the memory the layout keeps.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_ports.h"
#include "editor/Editor.h"
#include "editor/editor_access.h"
#include "printing/sim_printer.h"
#include "text/bytes.h"
#include "ui/preview/MyPrintView.h"
#include "ui/preview/MyStatic.h"

namespace {

using namespace qvprt;
using namespace qvprt::editor;

using bench::SilentPrompts;

// Feeds the strip as the main window does.
class StripView : public bench::NullView {
  public:
    void SetPreviewHeight(double mm) override { strip->SetPreviewHeight(mm); }
    void ShowSegments() override {
        strip->ShowSegments(editor->segments().head(), editor->settings());
    }
    ui::CMyPrintView* strip = nullptr;
    Editor* editor = nullptr;
};

class NoClock : public printing::Clock {
  public:
    void Sleep(int) override {}
};

struct Job {
    ui::CMyPrintView strip;
    SilentPrompts prompts;
    StripView view;
    printing::SimPrinter printer;
    NoClock clock;
    Editor editor{prompts, view, printer, clock};

    Job(int rows, int repeat, bool serial) {
        view.strip = &strip;
        view.editor = &editor;
        editor.Initialize();
        strip.Reposition(QRect(0, 0, 1920, 80));
        bench::FillRows(editor, rows, repeat, serial);
    }
};

void BM_PreviewCommand(benchmark::State& state) {
    Job job(1000, 100, false);
    for (auto _ : state) {
        job.editor.OnPreview();
    }
    state.counters["copies"] =
        static_cast<double>(job.strip.picture()->previewLayout().copy_count());
}
BENCHMARK(BM_PreviewCommand)->Unit(benchmark::kMillisecond);

// One paint of the 1920-px strip at 0 (start), 1 (the middle) or 2 (the end) of jobs that grow by
// 10^4 (args 10, 1000 rows, repeat 1) up to 10^8 copies (serial).
void BM_PaintStrip(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const bool serial = state.range(1) != 0;
    Job job(rows, serial ? 100 : 1, serial);
    job.editor.OnPreview();
    ui::CMyStatic* picture = job.strip.picture();
    const std::int64_t w = picture->previewLayout().content_width();
    const std::int64_t origins[] = {0, w / 2, w - 1920};
    picture->SetOrigin(std::max<std::int64_t>(0, origins[state.range(2)]));
    QImage img(picture->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&img);
        picture->Paint(painter, img.rect(), img.size());
    }
    state.counters["copies"] = static_cast<double>(picture->previewLayout().copy_count());
    state.counters["width_px"] = static_cast<double>(w);
}
BENCHMARK(BM_PaintStrip)
    ->ArgsProduct({{10, 1000}, {0}, {0, 1, 2}})
    ->Args({1000, 1, 0})
    ->Args({1000, 1, 1})
    ->Args({1000, 1, 2})
    ->Unit(benchmark::kMicrosecond);

// 1000 rows × repeat 100 × serial 0..999: compile, lay out, and scroll to the end.
void BM_PreviewHundredMillionCopies(benchmark::State& state) {
    Job job(1000, 100, true);
    for (auto _ : state) {
        job.editor.OnPreview();
    }
    ui::CMyStatic* picture = job.strip.picture();
    const auto& layout = picture->previewLayout();
    // The end is reachable: the bar's last position shows the last copy.
    QImage img(picture->size(), QImage::Format_RGB32);
    QPainter painter(&img);
    picture->Paint(painter, img.rect(), img.size());
    job.strip.Adjust();
    editor::PreviewScroll s = job.strip.scroll();
    s.Apply(editor::ScrollRequest::ToRight);
    state.counters["copies"] = static_cast<double>(layout.copy_count());
    state.counters["width_px"] = static_cast<double>(layout.content_width());
    state.counters["bar_end_px"] = static_cast<double>(s.FromBar(s.BarValue(s.maximum())));
    state.counters["layout_bytes"] =
        static_cast<double>(layout.segments().capacity() * sizeof(layout::PreviewSegment) +
                            layout.runs().capacity() * sizeof(layout::CopyRun));
}
BENCHMARK(BM_PreviewHundredMillionCopies)->Unit(benchmark::kMillisecond);

// What the layout keeps, against the copies it stands for.
void BM_LayoutMemory(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const int repeat = static_cast<int>(state.range(1));
    const bool serial = state.range(2) != 0;
    Job job(rows, repeat, serial);
    for (auto _ : state) {
        job.editor.OnPreview();
    }
    const auto& layout = job.strip.picture()->previewLayout();
    std::size_t bytes = layout.segments().capacity() * sizeof(layout::PreviewSegment) +
                        layout.runs().capacity() * sizeof(layout::CopyRun);
    for (const auto& s : layout.segments()) {
        bytes += s.text.capacity() > 15 ? s.text.capacity() : 0;
    }
    state.counters["copies"] = static_cast<double>(layout.copy_count());
    state.counters["layout_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LayoutMemory)
    ->Args({1000, 1, 0})
    ->Args({1000, 100, 0})
    ->Args({1000, 100, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
