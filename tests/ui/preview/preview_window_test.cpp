// The preview strip inside the main window: over the bottom strip, fed by the toolbar's preview
// command and by the material box.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ui/editor/QvprtTestApp.h"
#include "ui/preview/MyPrintView.h"
#include "ui/preview/MyStatic.h"
#include "ui_helpers.h"

namespace qvprt::ui {
namespace {

class PreviewWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void stripLiesOverTheBottomStrip() {
        testing::Window w;
        CMyPrintView* strip = w.dlg->previewWindow();
        QVERIFY(strip != nullptr);
        QVERIFY(strip->isVisible());
        QWidget* bottom = w.dlg->control(IDC_BOTTOM_STRIP);
        QCOMPARE(strip->geometry(), bottom->geometry());
        w.dlg->setWindowState(Qt::WindowNoState);
        w.dlg->resize(1100, 760);
        QApplication::processEvents();
        QCOMPARE(strip->geometry(), bottom->geometry());
        QCOMPARE(strip->picture()->height(), strip->height() - CMyPrintView::kScrollBarHeight);
        w.dlg->move(40, 30);
        QCOMPARE(strip->geometry(), bottom->geometry());
    }

    void previewCommandShowsTheJob() {
        testing::Window w;
        QAction* preview = w.dlg->command(ID_PREVIEW);
        QVERIFY(preview->isEnabled());
        QCOMPARE(preview->text(), QStringLiteral("打印预览"));
        editor::Editor& e = w.editor();
        e.AddRow();
        editor::testing::Grid(e).SetCellText(0, editor::COL_TEXT, "A1");
        editor::testing::Grid(e).SetCellText(1, editor::COL_TEXT, "B2");
        preview->trigger();
        const auto& layout = w.dlg->previewWindow()->picture()->previewLayout();
        QCOMPARE(layout.copy_count(), std::int64_t{2});
        QCOMPARE(w.dlg->previewWindow()->picture()->GetHeightMm(), 6.5);  // tube, 4.0
    }

    void previewCommandShowsTheJobSummary() {
        testing::Window w;
        QVERIFY(w.dlg->summaryLine()->text().isEmpty());
        editor::Editor& e = w.editor();
        for (int i = 0; i < 12; ++i) {
            if (i > 0) {
                e.AddRow();
            }
            editor::testing::Grid(e).SetCellText(i, editor::COL_TEXT, "A" + std::to_string(i));
        }
        w.dlg->control(int(editor::Control::RepeatEdit))->setFocus();
        QLineEdit* copies =
            static_cast<QLineEdit*>(w.dlg->control(int(editor::Control::CopiesEdit)));
        copies->selectAll();
        QTest::keyClicks(copies, "20");
        w.dlg->command(ID_PREVIEW)->trigger();
        QCOMPARE(w.dlg->summaryLine()->text(),
                 QStringLiteral("共12段，打印 240 个，材料约 4.8 米"));
    }

    void materialBoxSetsTheHeight() {
        testing::Window w;
        QComboBox* box = static_cast<QComboBox*>(w.dlg->control(int(editor::Control::Material)));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentIndex(), 1);
        QCOMPARE(w.dlg->previewWindow()->picture()->GetHeightMm(), 9.0);
    }

    void screenshotOfTheWindowWithItsPreview() {
        testing::Window w;
        w.dlg->setWindowState(Qt::WindowNoState);
        w.dlg->resize(1280, 800);
        editor::Editor& e = w.editor();
        const char* rows[] = {"L1-101", "电源 A相", "N-PE 接地", "KM1:13"};
        for (int i = 0; i < 4; ++i) {
            if (i > 0) {
                e.AddRow();
            }
            editor::testing::Grid(e).SetCellText(i, editor::COL_TEXT, text::gbk(rows[i]));
            editor::testing::Records(e).at(i)->font_size = 3;
        }
        e.MakeRowCurrent(1);
        w.dlg->command(ID_PREVIEW)->trigger();
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("QVPRT_BUILD_DIR", QDir::currentPath());
        const QString path = dir + QStringLiteral("/qvprt-preview-window.png");
        QVERIFY(w.dlg->grab().toImage().save(path));
        qInfo("screenshot: %s", qPrintable(path));
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::PreviewWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "preview_window_test.moc"
