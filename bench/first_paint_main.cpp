// The program's start-up with the simulated printer, stopped at the main window's first paint:
// writes one byte to its standard output then and closes the window.
#include <unistd.h>
#include <QWidget>

#include "printing/sim_printer.h"
#include "ui/editor/QvprtTestApp.h"

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::printing::SimPrinter printer;
    return app.Run(printer, [](QWidget* window) {
        const char painted = 'p';
        (void)!write(STDOUT_FILENO, &painted, 1);
        window->close();
    });
}
