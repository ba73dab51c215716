// Writes the main window at 1280 x 800 with a few typed rows to a PNG in the build folder, for a
// person to hold against the template's layout.
#include <QDir>
#include <QTest>

#include "ui/editor/QvprtTestApp.h"
#include "ui_helpers.h"

namespace qvprt::ui {
namespace {

class ScreenshotTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindowWithTypedRows() {
        testing::Window w;
        w.dlg->setWindowState(Qt::WindowNoState);
        w.dlg->resize(1280, 800);
        const QStringList rows = {QStringLiteral("L1-101"), QStringLiteral("电源 A相"),
                                  QStringLiteral("N-PE 接地"), QStringLiteral("KM1:13")};
        for (int i = 0; i < rows.size(); ++i) {
            if (i > 0) {
                w.dlg->command(ID_ADD_ROW)->trigger();
            }
            w.ClickCell(i, editor::COL_TEXT);
            QVERIFY(w.Editor() != nullptr);
            testing::Type(w.Editor(), rows[i]);
            w.grid()->setFocus();
            w.grid()->CommitEditor();
            QCOMPARE(w.Cell(i, editor::COL_TEXT), rows[i]);
        }
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("QVPRT_BUILD_DIR", QDir::currentPath());
        const QString path = dir + QStringLiteral("/qvprt-main-window.png");
        const QImage shot = w.dlg->grab().toImage();
        QCOMPARE(shot.size(), QSize(1280, 800));
        QVERIFY(shot.save(path));
        qInfo("screenshot: %s", qPrintable(path));
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::ScreenshotTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screenshot_test.moc"
