// The symbol picker dialog: its template, collecting by double clicks, the buttons, the tooltip,
// and a screenshot at 96 dpi.
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "editor/fake_ports.h"
#include "ui/aids/Dqfh.h"
#include "ui/editor/QtPrompts.h"
#include "ui/editor/QvprtTestApp.h"
#include "ui/editor/QvprtTestDlg.h"
#include "ui/symbol_font.h"

namespace qvprt::ui {
namespace {

// The centre of the picture's cell for table entry i.
QPoint CellCentre(const CDqfh& dlg, int entry) {
    const editor::PictureRect r = dlg.PictureRect();
    const int cw = r.width / 16, ch = r.height / 5;
    return {r.left + (entry % 16) * cw + cw / 2, r.top + (entry / 16) * ch + ch / 2};
}

void DoubleClick(CDqfh& dlg, QPoint at) {
    QTest::mouseDClick(&dlg, Qt::LeftButton, Qt::NoModifier, at);
}

QString Shown(const CDqfh& dlg) {
    return dlg.edit()->text();
}

class SymbolPickerTest : public QObject {
    Q_OBJECT
  private slots:
    void templateLayout() {
        CDqfh dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("选择电气符号(双击选择符号)"));
        QCOMPARE(dlg.size(), QSize(629, 269));
        QCOMPARE(dlg.picture()->geometry(), QRect(3, 3, 626, 212));
        QCOMPARE(dlg.edit()->geometry(), QRect(3, 221, 272, 26));
        QVERIFY(dlg.edit()->isReadOnly());
        QCOMPARE(dlg.edit()->font().pixelSize(), 20);
        QCOMPARE(dlg.edit()->font().families().value(0), kSymbolFamily);
        QVERIFY(dlg.okButton()->isDefault());
        QCOMPARE(dlg.okButton()->text(), QStringLiteral("确定"));
        QCOMPARE(dlg.cancelButton()->text(), QStringLiteral("取消"));
        QCOMPARE(dlg.reselectButton()->text(), QStringLiteral("重新选择"));
        QCOMPARE(dlg.palette().color(QPalette::Window), QColor(242, 243, 246));
    }

    void doubleClicksCollectAndReselectEmpties() {
        CDqfh dlg;
        dlg.show();
        DoubleClick(dlg, CellCentre(dlg, 2));
        DoubleClick(dlg, CellCentre(dlg, 2));
        DoubleClick(dlg, CellCentre(dlg, 2));
        QCOMPARE(Shown(dlg), QString(3, QChar(0xE002)));
        // The empty cells after Ω, the last pixels at the right and a point outside add nothing.
        DoubleClick(dlg, CellCentre(dlg, 78));
        DoubleClick(dlg, QPoint(dlg.picture()->geometry().right(), 20));
        DoubleClick(dlg, QPoint(300, 260));
        QCOMPARE(Shown(dlg), QString(3, QChar(0xE002)));
        // The picture's top-left border pixel is the earth sign's.
        DoubleClick(dlg, dlg.picture()->geometry().topLeft());
        DoubleClick(dlg, CellCentre(dlg, 76));
        QCOMPARE(Shown(dlg), QString(3, QChar(0xE002)) + QChar(0xE000) + QChar(0xE04C));
        QTest::mouseClick(dlg.reselectButton(), Qt::LeftButton);
        QCOMPARE(Shown(dlg), QString());
        DoubleClick(dlg, CellCentre(dlg, 48));
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.symbols(), std::string("\xAA\xD1"));
    }

    void cancelEnds() {
        CDqfh dlg;
        dlg.show();
        DoubleClick(dlg, CellCentre(dlg, 0));
        QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void tooltipNamesTheSymbol_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("name");
        QTest::newRow("earth") << 0 << QStringLiteral("接地");
        QTest::newRow("octagon A") << 2 << QStringLiteral("八角A");
        QTest::newRow("mm2") << 31 << QStringLiteral("平方毫米");
        QTest::newRow("kilohm") << 48 << QStringLiteral("千欧");
        QTest::newRow("roman four") << 68 << QStringLiteral("罗马数字Ⅳ");
    }
    void tooltipNamesTheSymbol() {
        QFETCH(int, entry);
        QFETCH(QString, name);
        CDqfh dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QPoint at = CellCentre(dlg, entry);
        QHelpEvent help(QEvent::ToolTip, at, dlg.mapToGlobal(at));
        QApplication::sendEvent(&dlg, &help);
        QTRY_COMPARE(QToolTip::text(), name);
        QToolTip::hideText();
    }

    // The window's prompts run a fresh picker each time and hand back what 确定 collected.
    void promptsRunThePicker() {
        QWidget owner;
        QtPrompts prompts(&owner);
        QTimer::singleShot(0, this, [] {
            auto* dlg = qobject_cast<CDqfh*>(QApplication::activeModalWidget());
            QVERIFY(dlg != nullptr);
            QCOMPARE(dlg->edit()->text(), QString());
            DoubleClick(*dlg, CellCentre(*dlg, 64));
            DoubleClick(*dlg, CellCentre(*dlg, 1));
            dlg->okButton()->click();
        });
        QCOMPARE(prompts.ChooseSymbols(), std::optional<std::string>("\xAA\xE1\xAA\xA2"));
        QTimer::singleShot(0, this, [] {
            auto* dlg = qobject_cast<CDqfh*>(QApplication::activeModalWidget());
            QVERIFY(dlg != nullptr);
            QCOMPARE(dlg->edit()->text(), QString());
            DoubleClick(*dlg, CellCentre(*dlg, 64));
            dlg->cancelButton()->click();
        });
        QCOMPARE(prompts.ChooseSymbols(), std::nullopt);
    }

    // The toolbar button in a window with its own prompts: the real picker, and its symbols in
    // the current row's text cell.
    void toolbarButtonRunsThePicker() {
        printing::SimPrinter printer;
        editor::testing::FakeClock clock;
        CQvprtTestDlg window(printer, nullptr, &clock);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTimer::singleShot(0, this, [] {
            auto* dlg = qobject_cast<CDqfh*>(QApplication::activeModalWidget());
            QVERIFY(dlg != nullptr);
            DoubleClick(*dlg, CellCentre(*dlg, 0));
            DoubleClick(*dlg, CellCentre(*dlg, 76));
            dlg->okButton()->click();
        });
        window.command(ID_SYMBOL)->trigger();
        QCOMPARE(window.editor().grid().GetItemText(0, editor::COL_TEXT),
                 std::string("\xAA\xA1\xAA\xED"));
    }

    void screenshot() {
        CDqfh dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        for (int entry : {0, 2, 31, 48, 64, 76}) {
            DoubleClick(dlg, CellCentre(dlg, entry));
        }
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("QVPRT_BUILD_DIR", QDir::currentPath());
        const QString path = dir + QStringLiteral("/qvprt-symbol-picker.png");
        QVERIFY(dlg.grab().toImage().save(path));
        qInfo("screenshot: %s", qPrintable(path));
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::SymbolPickerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "symbol_picker_test.moc"
