#include "ui/editor/QvprtTestApp.h"

#include <QEvent>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>

#include "ui/editor/QvprtTestDlg.h"
#include "ui/style.h"
#include "ui/symbol_font.h"

// The icons live in a static library, whose resource initialiser the linker would drop.
static void InitResources() {
    Q_INIT_RESOURCE(qvprt);
}

namespace qvprt::ui {

namespace {

// Calls the hook on the window's first paint, then gets out of the way.
class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QWidget* window, std::function<void(QWidget*)> hook)
        : QObject(window), window_(window), hook_(std::move(hook)) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint && hook_) {
            auto hook = std::move(hook_);
            hook_ = nullptr;
            window_->removeEventFilter(this);
            // After this paint has been delivered.
            QMetaObject::invokeMethod(
                window_, [hook, w = window_] { hook(w); }, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QWidget* window_;
    std::function<void(QWidget*)> hook_;
};

}  // namespace

void InitAppearance(QApplication& app) {
    InitResources();
    // The dialogs ask for 宋体, which Linux does not have; a Ming face has the same look.
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN"),
                                                        QStringLiteral("AR PL UMing TW")});
    RegisterSymbolFont();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette p = QApplication::palette();
    for (QPalette::ColorRole role :
         {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase}) {
        p.setColor(QPalette::All, role, kWindowColor);
    }
    p.setColor(QPalette::All, QPalette::WindowText, Qt::black);
    p.setColor(QPalette::All, QPalette::Text, Qt::black);
    p.setColor(QPalette::All, QPalette::ButtonText, Qt::black);
    QApplication::setPalette(p);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    app.setApplicationName(QStringLiteral("QvprtTest"));
    app.setApplicationVersion(QStringLiteral(QVPRT_VERSION));
    // Lets the desktop match the window with the installed entry (its icon, its name).
    QGuiApplication::setDesktopFileName(QStringLiteral("qvprt"));
}

CQvprtTestApp::CQvprtTestApp(int& argc, char** argv) : QApplication(argc, argv) {
    InitAppearance(*this);
}

int CQvprtTestApp::Run(printing::Ch375Driver& driver, std::function<void(QWidget*)> first_paint) {
    CQvprtTestDlg dlg(driver);
    if (first_paint) {
        new FirstPaintWatch(&dlg, std::move(first_paint));
    }
    dlg.setWindowState(Qt::WindowMaximized);
    // Time for a window manager to answer the request before the window sees to it itself.
    QTimer::singleShot(kMaximiseWaitMs, &dlg, [&dlg] { dlg.FillScreenUnlessMaximised(); });
    dlg.exec();
    // The modal run is the program's whole life.
    return 0;
}

}  // namespace qvprt::ui
