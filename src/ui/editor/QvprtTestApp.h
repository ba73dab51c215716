#pragma once
// The application object: fonts, colours, and the main window's modal run.

#include <QApplication>
#include <functional>

class QWidget;

namespace qvprt::printing {
class Ch375Driver;
}

namespace qvprt::ui {

class CQvprtTestApp : public QApplication {
  public:
    static constexpr int kMaximiseWaitMs = 300;

    CQvprtTestApp(int& argc, char** argv);

    // Shows the main window maximised and runs it modally; `first_paint` (when given) is called
    // once, when the window has painted for the first time.
    int Run(printing::Ch375Driver& driver, std::function<void(QWidget*)> first_paint = {});
};

// The fonts and colours the windows rely on; the application object sets them, tests call it on
// their own application object.
void InitAppearance(QApplication& app);

}  // namespace qvprt::ui
