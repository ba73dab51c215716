// The window program at its largest, for the memory benchmark:
//   make FILE   writes a 1000-row project whose preview holds 10^8 copies (no window);
//   start       starts the main window and paints it;
//   open FILE   starts the main window, opens FILE with the open command, shows the preview and
//               paints it;
//   import FILE the same with the Excel导入 command instead of the open command.
// Prints the copies the preview shows and ends; the benchmark reads the run's peak memory.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_ports.h"
#include "printing/sim_printer.h"
#include "ui/editor/QvprtTestApp.h"
#include "ui/editor/QvprtTestDlg.h"
#include "ui/preview/MyPrintView.h"
#include "ui/preview/MyStatic.h"

namespace {

using namespace qvprt;

using bench::FilePrompts;
using bench::NoClock;

int Make(const std::string& file) {
    FilePrompts prompts(file);
    bench::NullView view;
    printing::SimPrinter printer;
    NoClock clock;
    editor::Editor editor(prompts, view, printer, clock);
    editor.Initialize();
    bench::FillRows(editor, 1000, 100, true);
    editor.SaveProjectFile();
    return editor.last_outcome() == editor::Outcome::Done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string file = argc > 2 ? argv[2] : "";
    if (mode == "make" && !file.empty()) {
        return Make(file);
    }
    if (mode != "start" && !((mode == "open" || mode == "import") && !file.empty())) {
        std::fprintf(stderr, "usage: %s make FILE | start | open FILE | import FILE\n", argv[0]);
        return 1;
    }
    ui::CQvprtTestApp app(argc, argv);
    printing::SimPrinter printer;
    FilePrompts prompts(file);
    ui::CQvprtTestDlg dlg(printer, &prompts);
    dlg.resize(1280, 800);
    dlg.show();
    QApplication::processEvents();
    if (mode != "start") {
        dlg.command(mode == "open" ? ui::ID_FILE_OPEN : ui::ID_EXCEL_IMPORT)->trigger();
        dlg.command(ui::ID_PREVIEW)->trigger();
        dlg.repaint();
        QApplication::processEvents();
    }
    std::printf("%lld\n", static_cast<long long>(
                              dlg.previewWindow()->picture()->previewLayout().copy_count()));
    return 0;
}
