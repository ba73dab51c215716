#include <QDir>
#include <QScrollBar>
#include <QTest>
#include "ui/editor/QvprtTestApp.h"
#include "ui_helpers.h"
namespace qvprt::ui {
namespace {
class Scratch : public QObject {
    Q_OBJECT
  private slots:
    void run() {
        const QString out = qEnvironmentVariable("SHOT_DIR", "/tmp/faults/after");
        QDir().mkpath(out);
        testing::Window w;
        w.dlg->setWindowState(Qt::WindowNoState);
        w.dlg->resize(1280, 800);
        for (int i = 0; i < 40; ++i)
            w.dlg->command(ID_ADD_ROW)->trigger();
        w.dlg->grab(QRect(0, 125, 175, 130)).scaled(700, 520).save(out + "/group_zoom.png");
        w.grid()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        QApplication::processEvents();
        w.dlg->grab().save(out + "/scrolled_end.png");
        w.grid()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QApplication::processEvents();
        w.dlg->grab().save(out + "/scrolled_back_one.png");
        w.dlg->resize(500, 400);
        QApplication::processEvents();
        qInfo("size %dx%d", w.dlg->width(), w.dlg->height());
        w.dlg->grab().save(out + "/small.png");
    }
};
}  // namespace
}  // namespace qvprt::ui
int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::Scratch test;
    return QTest::qExec(&test, argc, argv);
}
#include "scratch_test.moc"
