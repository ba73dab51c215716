// qvprt: the label editor.
#include "ui/editor/QvprtTestApp.h"

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    return app.Run();
}
