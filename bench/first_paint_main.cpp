// The program's start-up, stopped at the main window's first paint: writes one byte to its
// standard output then and closes the window.
#include <unistd.h>
#include <QWidget>

#include "ui/editor/QvprtTestApp.h"

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    return app.Run([](QWidget* window) {
        const char painted = 'p';
        (void)!write(STDOUT_FILENO, &painted, 1);
        window->close();
    });
}
