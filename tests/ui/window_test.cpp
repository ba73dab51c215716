// The main window driven as a user would: clicks, keys and typed text, with scripted prompts.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "ui/editor/AboutDlg.h"
#include "ui/editor/QvprtTestApp.h"
#include "ui/grid/InPlaceEdit.h"
#include "ui/preview/MyPrintView.h"
#include "ui/preview/MyState.h"
#include "ui/style.h"
#include "ui_helpers.h"

namespace qvprt::ui {
namespace {

using namespace editor;
using testing::Type;

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::Window> w;

    QComboBox* Box(Control id) const {
        return static_cast<QComboBox*>(w->dlg->control(static_cast<int>(id)));
    }
    QStringList Entries(Control id) const {
        QStringList v;
        for (int i = 0; i < Box(id)->count(); ++i) {
            v << Box(id)->itemText(i);
        }
        return v;
    }
    void Pick(Control id, int position) const { testing::Pick(Box(id), position); }
    void AddRows(int n) const {
        for (int i = 0; i < n; ++i) {
            w->dlg->command(ID_ADD_ROW)->trigger();
        }
    }
    void ClickHeader(int section) const { testing::ClickHeader(w->grid(), section); }
    QStringList Column(int column) const {
        QStringList v;
        for (int r = 0; r < w->editor().grid().GetItemCount(); ++r) {
            v << w->Cell(r, column);
        }
        return v;
    }

  private slots:
    void init() {
        w = std::make_unique<testing::Window>();
        new QAbstractItemModelTester(w->grid()->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     w->dlg.get());
    }
    void cleanup() { w.reset(); }

    void startsWithOneCheckedStarredRowAndTheBoxesSet() {
        QCOMPARE(w->grid()->model()->rowCount(), 1);
        QCOMPARE(w->grid()->model()->index(0, COL_CHECK).data(Qt::CheckStateRole).toInt(),
                 int(Qt::Checked));
        QCOMPARE(w->Cell(0, COL_CURRENT), QStringLiteral("★"));
        QCOMPARE(w->Cell(0, COL_NUMBER), QStringLiteral("1"));
        QCOMPARE(w->grid()->GetHeaderCheckState(COL_CHECK), 2);
        QCOMPARE(w->grid()->columnWidth(COL_TEXT), 264);
        QCOMPARE(w->grid()->columnWidth(COL_CHECK), 20);

        struct BoxCase {
            Control id;
            int count;
            QString shown;
        };
        const BoxCase boxes[] = {
            {Control::Material, 3, "套管"},      {Control::MaterialParam, 4, "4.0"},
            {Control::Cut, 3, "半切"},           {Control::Spacing, 21, "0"},
            {Control::Arrangement, 2, "居中"},   {Control::Density, 15, "9"},
            {Control::FontSize, 7, "自动字号"},  {Control::Decoration, 3, "无修饰"},
            {Control::Direction, 2, "横向打印"}, {Control::Scale, 2, "100%"},
        };
        for (const BoxCase& b : boxes) {
            QCOMPARE(Box(b.id)->count(), b.count);
            QCOMPARE(Box(b.id)->currentText(), b.shown);
        }
        QCOMPARE(Entries(Control::Decoration), QStringList({"无修饰", "边  框", "下划线"}));

        auto radio = [this](Control id) {
            return static_cast<QRadioButton*>(w->dlg->control(static_cast<int>(id)));
        };
        QVERIFY(radio(Control::LocalFont)->isChecked());
        QVERIFY(!radio(Control::ExternalFont)->isChecked());
        QVERIFY(radio(Control::ExternalFont)->isEnabled());
        QVERIFY(radio(Control::CurrentAndBelow)->isChecked());
        QVERIFY(!radio(Control::CurrentOnly)->isChecked());
        QVERIFY(radio(Control::FixedLength)->isChecked());
        QVERIFY(radio(Control::FixedLength)->isHidden());
        auto edit = [this](Control id) {
            return static_cast<QLineEdit*>(w->dlg->control(static_cast<int>(id)))->text();
        };
        QCOMPARE(edit(Control::LengthEdit), QStringLiteral("20"));
        QCOMPARE(edit(Control::RepeatEdit), QStringLiteral("1"));
        QCOMPARE(edit(Control::CopiesEdit), QStringLiteral("1"));
        QVERIFY(w->dlg->control(IDC_SERIAL)->isEnabled());
        QVERIFY(w->dlg->control(IDC_FONT_LIBRARY)->isHidden());
    }

    void toolbarHasTwelveButtonsInOrder() {
        QStringList shown;
        QStringList disabled;
        for (QAction* a : w->dlg->toolbar()->actions()) {
            if (a->isSeparator()) {
                shown << "|";
                continue;
            }
            shown << a->text();
            if (!a->isEnabled()) {
                disabled << a->text();
            }
            QWidget* b = w->dlg->toolbar()->widgetForAction(a);
            QCOMPARE(b->size(), QSize(72, 72));
            QCOMPARE(static_cast<QToolButton*>(b)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QVERIFY(!a->icon().isNull());
        }
        QCOMPARE(shown, QStringList({"打开文件", "保存文件", "|", "存U盘", "Excel导入", "|",
                                     "增加一行", "删除一行", "|", "上标", "下标", "|", "打印预览",
                                     "打印", "|", "电气符号", "|", "退出"}));
        QCOMPARE(disabled, QStringList());
        QCOMPARE(w->dlg->toolbar()->iconSize(), QSize(32, 32));
    }

    void clickOnATextCellOpensTheEditorOverIt() {
        AddRows(2);
        w->ClickCell(1, COL_TEXT);
        CInPlaceEdit* e = w->Editor();
        QVERIFY(e != nullptr);
        QCOMPARE(e->row(), 1);
        QCOMPARE(e->column(), COL_TEXT);
        QVERIFY(!e->digitsOnly());
        const QRect cell = w->CellRect(1, COL_TEXT);
        QCOMPARE(e->geometry().left(), cell.left() + 4);
        QCOMPARE(e->geometry().top(), cell.top());
        QCOMPARE(e->geometry().height(), w->grid()->rowHeight(1));
        QCOMPARE(w->editor().current_row(), 1);
        QVERIFY(e->hasFocus());
    }

    void editorOnAColumnScrolledOutOfViewScrollsItBackFirst() {
        w->dlg->setWindowState(Qt::WindowNoState);
        w->dlg->resize(w->dlg->minimumSize());
        w->grid()->setColumnWidth(COL_TEXT, 900);  // wider than the grid
        QApplication::processEvents();
        QScrollBar* bar = w->grid()->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        QVERIFY(w->grid()->columnViewportPosition(COL_TEXT) < 0);
        CInPlaceEdit* e = w->grid()->OpenCellEditor(0, COL_TEXT);
        QVERIFY(e != nullptr);
        QCOMPARE(w->grid()->columnViewportPosition(COL_TEXT), 0);
        QCOMPARE(e->geometry().left(), 4);
        QCOMPARE(w->grid()->CellFromPoint(QPoint(2, e->geometry().center().y())), 0);
        int column = -1;
        w->grid()->CellFromPoint(QPoint(w->grid()->columnWidth(COL_TEXT), 3), &column);
        QCOMPARE(column, COL_TEXT);  // a boundary belongs to the column on its left
        QTest::keyClick(e, Qt::Key_Escape);
    }

    void clickOnOtherColumnsOpensNothing_data() {
        QTest::addColumn<int>("column");
        for (int c : {COL_CHECK, COL_CURRENT, COL_NUMBER, COL_FONTSIZE, COL_DECORATION,
                      COL_DIRECTION, COL_SCALE}) {
            QTest::addRow("column %d", c) << c;
        }
    }
    void clickOnOtherColumnsOpensNothing() {
        QFETCH(int, column);
        AddRows(1);
        w->ClickCell(0, column);
        QVERIFY(w->Editor() == nullptr);
        QCOMPARE(w->editor().current_row(), 0);
        QCOMPARE(w->grid()->GetCurrentColumn(), column);
        QCOMPARE(w->grid()->selectionModel()->selectedRows().value(0).row(), 0);
    }

    // A click that hits no cell: below the last row, or right of the last column (the grid is
    // wider than its columns once the window is maximised).
    void clickOutsideTheCellsSendsNothing_data() {
        QTest::addColumn<bool>("rightOfColumns");
        QTest::addRow("below the last row") << false;
        QTest::addRow("right of the last column") << true;
    }
    void clickOutsideTheCellsSendsNothing() {
        QFETCH(bool, rightOfColumns);
        w->dlg->setWindowState(Qt::WindowNoState);
        w->dlg->resize(1280, 800);
        AddRows(1);
        const QRect last = w->CellRect(0, kGridColumns - 1);
        QVERIFY(last.right() + 20 < w->grid()->viewport()->width());
        const QPoint at = rightOfColumns ? QPoint(last.right() + 20, last.center().y())
                                         : QPoint(w->CellRect(0, COL_TEXT).center().x(),
                                                  w->grid()->viewport()->height() - 3);
        QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(w->Editor() == nullptr);
        QCOMPARE(w->editor().grid().GetCurrentRowOfGrid(), -1);
        QCOMPARE(w->grid()->GetCurrentColumn(), 0);
        QCOMPARE(w->editor().current_row(), 1);
    }

    void typingAndEnterCommitsAndOpensTheNextRow() {
        AddRows(2);
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("电源A1"));
        QTest::keyClick(w->Editor(), Qt::Key_Return);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("电源A1"));
        const model::SegmentNode* n = w->editor().segments().head();
        QCOMPARE(text::gbk_to_utf8(std::string(n->text.data(), n->text_length)),
                 std::string("电源A1"));
        QVERIFY(w->Editor() != nullptr);
        QCOMPARE(w->Editor()->row(), 1);
        QCOMPARE(w->Editor()->column(), COL_TEXT);
        QCOMPARE(w->editor().current_row(), 1);
        QCOMPARE(w->dlg->isVisible(), true);  // Enter never reaches the dialog
    }

    void enterOnTheLastRowAddsARow() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("A"));
        QTest::keyClick(w->Editor(), Qt::Key_Enter);
        QCOMPARE(w->editor().grid().GetItemCount(), 2);
        QVERIFY(w->Editor() != nullptr);
        QCOMPARE(w->Editor()->row(), 1);
        QCOMPARE(Column(COL_NUMBER), QStringList({"1", "2"}));
        QCOMPARE(Column(COL_CURRENT), QStringList({"", "★"}));
    }

    void escapeLeavesTheCellUnchanged() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("X1"));
        w->grid()->setFocus();
        QTRY_VERIFY(w->Editor() == nullptr);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("X1"));
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("变了"));
        QTest::keyClick(w->Editor(), Qt::Key_Escape);
        QVERIFY(w->Editor() == nullptr);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("X1"));
        QVERIFY(w->dlg->isVisible());
        QVERIFY(w->prompts.messages.empty());
    }

    // A typed job survives Escape in the window, and the close box asks before it goes.
    void escapeAndTheCloseBoxKeepAnUnsavedJob() {
        QVERIFY(!w->dlg->isWindowModified());
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("A1"));
        QTest::keyClick(w->Editor(), Qt::Key_Return);
        QTest::keyClick(w->Editor(), Qt::Key_Escape);  // leaves the cell editor
        QVERIFY(w->Editor() == nullptr);
        QTest::keyClick(w->grid(), Qt::Key_Escape);  // the window stays
        QTest::keyClick(w->dlg.get(), Qt::Key_Escape);
        QVERIFY(w->dlg->isVisible());
        QVERIFY(w->dlg->isWindowModified());
        QCOMPARE(w->dlg->windowHandle()->title(), QStringLiteral("QvprtTest*"));
        QVERIFY(w->prompts.questions.empty());

        w->prompts.three_way = {Answer::Cancel};
        QVERIFY(!w->dlg->close());
        QVERIFY(w->dlg->isVisible());
        QCOMPARE(w->prompts.questions.size(), std::size_t{1});
        QCOMPARE(w->prompts.questions[0].text, std::string("当前内容尚未保存，是否保存？"));
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("A1"));

        w->prompts.three_way = {Answer::No};
        QVERIFY(w->dlg->close());
        QVERIFY(!w->dlg->isVisible());
        QCOMPARE(w->dlg->result(), int(QDialog::Rejected));
        QVERIFY(!w->prompts.unexpected);
    }

    // Ctrl+Z reaches the job once the open cell editor has nothing of its own to undo; the grid's
    // menu and the check boxes take part as well.
    void undoKeysAndTheGridsMenu() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("A1"));
        QTest::keyClick(w->Editor(), Qt::Key_Return);  // a second row comes with the commit
        QVERIFY(w->Editor() != nullptr);
        Type(w->Editor(), QStringLiteral("B"));
        QTest::keyClick(w->Editor(), Qt::Key_Z, Qt::ControlModifier);  // the editor's own undo
        QVERIFY(w->Editor() != nullptr);
        QCOMPARE(w->Editor()->text(), QString());
        QTest::keyClick(w->Editor(), Qt::Key_Z, Qt::ControlModifier);  // the job's
        QVERIFY(w->Editor() == nullptr);
        QCOMPARE(w->editor().grid().GetItemCount(), 1);
        QCOMPARE(w->Cell(0, COL_TEXT), QString());
        QVERIFY(!w->dlg->isWindowModified());
        QTest::keyClick(w->grid(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("A1"));
        QCOMPARE(w->editor().grid().GetItemCount(), 2);
        QVERIFY(w->dlg->isWindowModified());
        QTest::keyClick(w->grid(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(w->grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("A1"));

        // A check box cleared by the user, then 撤销 from the grid's menu.
        QAbstractItemModel* m = w->grid()->model();
        QVERIFY(m->setData(m->index(1, COL_CHECK), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!w->editor().grid().GetCheck(1));
        QStringList items;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (QAction* a : menu->actions()) {
                items << a->text();
            }
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const QPoint at = w->CellRect(0, COL_NUMBER).center();
        QContextMenuEvent menu_event(QContextMenuEvent::Mouse, at,
                                     w->grid()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w->grid()->viewport(), &menu_event);
        QCOMPARE(items, QStringList({"撤销", "重做", "", "粘贴(&P)"}));
        QVERIFY(w->editor().grid().GetCheck(1));
    }

    void clickingAnotherCellCommitsTheFirst() {
        AddRows(1);
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("K1"));
        w->ClickCell(1, COL_TEXT2);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("K1"));
        QVERIFY(w->Editor() != nullptr);
        QCOMPARE(w->Editor()->row(), 1);
        QCOMPARE(w->Editor()->column(), COL_TEXT2);
    }

    void repeatCellTakesDigitsOnly() {
        w->ClickCell(0, COL_REPEAT);
        QVERIFY(w->Editor() != nullptr);
        QVERIFY(w->Editor()->digitsOnly());
        Type(w->Editor(), QStringLiteral("1a2-中.x"));
        QCOMPARE(w->Editor()->text(), QStringLiteral("12."));
        QTest::keyClick(w->Editor(), Qt::Key_Escape);
    }

    void editorBoundIsFiftyGbkBytesAndDropsUncodedCharacters() {
        w->ClickCell(0, COL_TEXT);
        CInPlaceEdit* e = w->Editor();
        // Thai has no GBK code: dropped like a filtered character.
        Type(e, QStringLiteral("ก") + QString(26, QChar(0x4E2D)));
        QCOMPARE(e->text(), QString(25, QChar(0x4E2D)));
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text().size(), 24);
        Type(e, QStringLiteral("ab"));
        QCOMPARE(e->text(), QString(24, QChar(0x4E2D)) + "ab");
        QTest::keyClick(e, Qt::Key_Home);
        QTest::keyClick(e, Qt::Key_Delete);
        QCOMPARE(e->text(), QString(23, QChar(0x4E2D)) + "ab");
        QTest::keyClick(e, Qt::Key_Escape);
    }

    void pastedTextWithoutGbkCodeIsRefusedAtCommit() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("A1"));
        w->grid()->CommitEditor();
        w->ClickCell(0, COL_TEXT);
        w->Editor()->selectAll();
        w->Editor()->insert(QStringLiteral("ก1"));  // as a paste puts it there
        QTest::keyClick(w->Editor(), Qt::Key_Return);
        QCOMPARE(w->prompts.Texts(), std::vector<std::string>({"输入内容含有无法打印的字符！"}));
        QCOMPARE(w->prompts.messages[0].caption, std::string("提示"));
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("A1"));
        QVERIFY(w->Editor() == nullptr);
    }

    void editorWidensToTheGridsEdgeAndNeverNarrows() {
        w->ClickCell(0, COL_TEXT2);
        CInPlaceEdit* e = w->Editor();
        const int left = e->geometry().left();
        int last = e->width();
        for (int i = 0; i < 24; ++i) {
            Type(e, QStringLiteral("宽"));
            QVERIFY(e->width() >= last);
            last = e->width();
        }
        QCOMPARE(e->geometry().left(), left);
        QVERIFY(e->geometry().right() < w->grid()->viewport()->width());
        QVERIFY(e->width() > w->grid()->columnWidth(COL_TEXT2));
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->width(), last);
        QTest::keyClick(e, Qt::Key_Escape);
    }

    void scrollingCommitsTheOpenEditor() {
        AddRows(40);
        w->ClickCell(0, COL_TEXT);  // scrolls row 0 into view
        QVERIFY(w->Editor() != nullptr);
        Type(w->Editor(), QStringLiteral("S1"));
        w->grid()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(w->Editor() == nullptr);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("S1"));
    }

    void upAndDownKeysMoveTheCurrentRowWithinTheGrid() {
        AddRows(2);
        w->ClickCell(0, COL_NUMBER);
        struct Step {
            Qt::Key key;
            int row;
        };
        const Step steps[] = {{Qt::Key_Up, 0},
                              {Qt::Key_Down, 1},
                              {Qt::Key_Down, 2},
                              {Qt::Key_Down, 2},
                              {Qt::Key_Up, 1}};
        for (const Step& s : steps) {
            QTest::keyClick(w->grid(), s.key);
            QCOMPARE(w->editor().current_row(), s.row);
            QCOMPARE(w->Cell(s.row, COL_CURRENT), QStringLiteral("★"));
        }
    }

    // Home and End go to the first and last row, Page Up and Page Down a page; all four move the
    // list's selection and leave the current row, its star and its boxes where they were.
    void homeEndAndPageKeysMoveOnlyTheSelection() {
        AddRows(59);
        w->ClickCell(30, COL_NUMBER);
        struct Step {
            Qt::Key key;
            int selected;  // -1: moved up from the previous step, -2: moved down
        };
        const Step steps[] = {{Qt::Key_Home, 0},      {Qt::Key_End, 59}, {Qt::Key_PageUp, -1},
                              {Qt::Key_PageDown, -2}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, -2}};
        int previous = 30;
        for (const Step& s : steps) {
            QTest::keyClick(w->grid(), s.key);
            const int selected = w->grid()->selectionModel()->selectedRows().value(0).row();
            if (s.selected >= 0) {
                QCOMPARE(selected, s.selected);
            } else {
                QVERIFY(s.selected == -1 ? selected < previous : selected > previous);
            }
            QCOMPARE(w->grid()->currentIndex().row(), selected);
            QCOMPARE(w->editor().current_row(), 30);
            QCOMPARE(w->editor().grid().GetCurrentRowOfGrid(), 30);
            QCOMPARE(w->Cell(30, COL_CURRENT), QStringLiteral("★"));
            previous = selected;
        }
        // Down goes on from the current row, not from the selection.
        QTest::keyClick(w->grid(), Qt::Key_Down);
        QCOMPARE(w->editor().current_row(), 31);
    }

    // The grid is one tab stop in the template's order: Tab leaves it for the scaling box,
    // Shift+Tab for the radio before it; the selection shows whether the grid has the focus.
    void gridIsOneTabStopAndShowsItsFocus() {
        AddRows(2);
        w->ClickCell(1, COL_NUMBER);
        QVERIFY(w->grid()->hasFocus());
        const QPoint in_row = w->CellRect(1, COL_TEXT).center();
        const QColor focused = w->grid()->viewport()->grab().toImage().pixelColor(in_row);
        struct Step {
            Qt::Key key;
            int focus;  // control id
        };
        const Step steps[] = {{Qt::Key_Tab, int(Control::Scale)},
                              {Qt::Key_Backtab, IDC_GRID},
                              {Qt::Key_Backtab, int(Control::ExternalFont)},
                              {Qt::Key_Tab, IDC_GRID},
                              {Qt::Key_Tab, int(Control::Scale)}};
        for (const Step& s : steps) {
            QTest::keyClick(QApplication::focusWidget(), s.key);
            QCOMPARE(QApplication::focusWidget(), w->dlg->control(s.focus));
        }
        const QColor elsewhere = w->grid()->viewport()->grab().toImage().pixelColor(in_row);
        QVERIFY(focused != elsewhere);
        QVERIFY(focused != QColor(kWindowColor) && elsewhere != QColor(kWindowColor));
        QCOMPARE(w->editor().current_row(), 1);

        // From the first box, Tab visits every control that takes the focus once and comes back.
        w->dlg->control(int(Control::Material))->setFocus();
        QSet<QWidget*> seen;
        for (int i = 0; i < 40 && !seen.contains(QApplication::focusWidget()); ++i) {
            seen.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), w->dlg->control(int(Control::Material)));
        QVERIFY(seen.contains(w->grid()));
        QCOMPARE(seen.size(), 21);
    }

    // Length and repeat take digits only; the copies edit answers a non-number itself.
    void lengthAndRepeatEditsTakeDigitsOnly_data() {
        QTest::addColumn<int>("edit");
        QTest::addRow("length") << int(Control::LengthEdit);
        QTest::addRow("repeat") << int(Control::RepeatEdit);
    }
    void lengthAndRepeatEditsTakeDigitsOnly() {
        QFETCH(int, edit);
        auto* e = static_cast<QLineEdit*>(w->dlg->control(edit));
        e->setFocus();
        e->selectAll();
        Type(e, QStringLiteral("1a-2.+3 中x"));
        QCOMPARE(e->text(), QStringLiteral("123"));
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), QStringLiteral("12"));
        QVERIFY(w->prompts.messages.empty());
    }

    // Keys a one-line edit has no use for stay in the cell editor: the grid's row does not move
    // under it.
    void keysTheEditorDoesNotUseStayInIt_data() {
        QTest::addColumn<int>("key");
        QTest::addRow("Down") << int(Qt::Key_Down);
        QTest::addRow("Up") << int(Qt::Key_Up);
        QTest::addRow("PageDown") << int(Qt::Key_PageDown);
    }
    void keysTheEditorDoesNotUseStayInIt() {
        QFETCH(int, key);
        AddRows(2);
        w->ClickCell(1, COL_TEXT);
        Type(w->Editor(), QStringLiteral("A"));
        QTest::keyClick(w->Editor(), Qt::Key(key));
        QVERIFY(w->Editor() != nullptr);
        QCOMPARE(w->Editor()->row(), 1);
        QCOMPARE(w->grid()->currentIndex().row(), 1);
        QCOMPARE(w->editor().current_row(), 1);
        QCOMPARE(w->Cell(1, COL_CURRENT), QStringLiteral("★"));
        QTest::keyClick(w->Editor(), Qt::Key_Escape);
    }

    // The editor's own menu (copy, paste) takes no keyboard focus from it: the editor stays open.
    void contextMenuKeepsTheEditorOpen() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("AB"));
        QPointer<CInPlaceEdit> e = w->Editor();
        QContextMenuEvent menu_event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     e->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(e.data(), &menu_event);
        QApplication::processEvents();
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu != nullptr);
        QVERIFY(w->Editor() != nullptr);
        menu->close();
        QApplication::processEvents();
        QVERIFY(!e.isNull());
        QCOMPARE(w->Editor(), e.data());
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(w->Cell(0, COL_TEXT), QStringLiteral("AB"));
    }

    void headerClickClearsThenTicksEveryRow() {
        AddRows(2);
        editor::testing::Grid(w->editor()).SetCheck(1, false);
        ClickHeader(COL_CHECK);
        QCOMPARE(w->grid()->GetHeaderCheckState(COL_CHECK), 1);
        for (int r = 0; r < 3; ++r) {
            QVERIFY(!w->editor().grid().GetCheck(r));
        }
        ClickHeader(COL_CHECK);
        QCOMPARE(w->grid()->GetHeaderCheckState(COL_CHECK), 2);
        for (int r = 0; r < 3; ++r) {
            QVERIFY(w->editor().grid().GetCheck(r));
        }
        ClickHeader(COL_TEXT);
        QCOMPARE(w->grid()->GetHeaderCheckState(COL_CHECK), 2);
        // A double click is two clicks: the state comes back.
        QHeaderView* h = w->grid()->horizontalHeader();
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                           QPoint(h->sectionViewportPosition(COL_CHECK) + 8, h->height() / 2));
        QCOMPARE(w->grid()->GetHeaderCheckState(COL_CHECK), 2);
        QCOMPARE(w->grid()->columnWidth(COL_CHECK), 20);
    }

    void materialBoxRefillsTheParameterBox() {
        Pick(Control::Material, 1);
        QCOMPARE(Entries(Control::MaterialParam), QStringList({"6 mm", "9 mm", "12mm"}));
        QCOMPARE(Box(Control::MaterialParam)->currentIndex(), 1);
        QCOMPARE(w->editor().settings().material_index, 1);
        Pick(Control::Material, 0);
        QCOMPARE(Entries(Control::MaterialParam), QStringList({"3.0", "4.0", "5.0", "6.0"}));
    }

    // The radios are not exclusive by themselves: the editor's handler checks the clicked one and
    // clears its partner, and the window shows both, also after a click on a checked radio.
    void radioClicksShowThePairAsTheEditorSetsIt() {
        const std::pair<Control, Control> pairs[] = {
            {Control::CurrentOnly, Control::CurrentAndBelow},
            {Control::ExternalFont, Control::LocalFont},
        };
        auto radio = [this](Control id) {
            return static_cast<QRadioButton*>(w->dlg->control(static_cast<int>(id)));
        };
        for (const auto& [a, b] : pairs) {
            for (Control clicked : {a, a, b, b}) {
                QTest::mouseClick(radio(clicked), Qt::LeftButton);
                const Control other = clicked == a ? b : a;
                QVERIFY(radio(clicked)->isChecked());
                QVERIFY(!radio(other)->isChecked());
            }
        }
    }

    void fontSizeBoxChangesTheRowsOfItsScope() {
        AddRows(2);
        w->ClickCell(1, COL_NUMBER);
        Pick(Control::FontSize, 2);  // scope: this row and those below
        QCOMPARE(Column(COL_FONTSIZE), QStringList({"0", "2", "2"}));
        QTest::mouseClick(w->dlg->control(static_cast<int>(Control::CurrentOnly)), Qt::LeftButton);
        QVERIFY(w->editor().controls().current_only);
        w->ClickCell(0, COL_NUMBER);
        Pick(Control::FontSize, 1);
        QCOMPARE(Column(COL_FONTSIZE), QStringList({"1", "2", "2"}));
        // Clicking a row shows its font size in the box, without running the box's handler.
        w->ClickCell(2, COL_NUMBER);
        QCOMPARE(Box(Control::FontSize)->currentIndex(), 2);
        QCOMPARE(Column(COL_FONTSIZE), QStringList({"1", "2", "2"}));
    }

    void exitWithAnEmptyLengthBoxStaysOpen() {
        auto* length =
            static_cast<QLineEdit*>(w->dlg->control(static_cast<int>(Control::LengthEdit)));
        length->setFocus();
        length->selectAll();
        QTest::keyClick(length, Qt::Key_Backspace);
        QTest::keyClick(length, Qt::Key_Return);  // Enter in a box does not close the window
        QVERIFY(w->dlg->isVisible());
        w->dlg->command(ID_EXIT)->trigger();
        QCOMPARE(w->prompts.Texts(), std::vector<std::string>({"请键入一个整数。"}));
        QVERIFY(w->dlg->isVisible());
        QVERIFY(length->hasFocus());
        length->selectAll();
        QTest::keyClicks(length, "30");
        w->dlg->command(ID_EXIT)->trigger();
        QVERIFY(!w->dlg->isVisible());
        QCOMPARE(w->dlg->result(), int(QDialog::Accepted));
        QCOMPARE(w->editor().length_edit_value(), 30);
        QVERIFY(!w->dlg->StatusExists());
    }

    void resizingStretchesTheGridAndTheBottomStrip() {
        w->dlg->setWindowState(Qt::WindowNoState);
        w->dlg->resize(900, 760);
        QWidget* grid = w->grid();
        QWidget* strip = w->dlg->control(IDC_BOTTOM_STRIP);
        const QRect g = grid->geometry();
        const QRect s = strip->geometry();
        w->dlg->resize(1100, 800);
        QCOMPARE(grid->geometry().topLeft(), g.topLeft());
        QCOMPARE(grid->height(), g.height());
        QCOMPARE(grid->geometry().right() + 1, 1100 - 5);
        QCOMPARE(strip->geometry().topLeft(), s.topLeft());
        QCOMPARE(strip->geometry().right() + 1, 1100 - 5);
        QCOMPARE(strip->geometry().bottom() + 1, 800 - 5 - CQvprtTestDlg::kSummaryLine);
        QCOMPARE(w->dlg->toolbar()->width(), 1100);
        // The summary line fills the room between the strip and the margin.
        const QRect line = w->dlg->summaryLine()->geometry();
        QCOMPARE(line.top(), strip->geometry().bottom() + 1);
        QCOMPARE(line.left(), strip->geometry().left());
        QCOMPARE(line.right(), strip->geometry().right());
        QCOMPARE(line.bottom() + 1, 800 - 5);
    }

    // Without a window manager a window keeps whatever size it asked for.
    void windowNotMaximisedTakesTheScreensFreeArea() {
        w->dlg->setWindowState(Qt::WindowNoState);
        w->dlg->setGeometry(30, 40, 500, 400);
        w->dlg->FillScreenUnlessMaximised();
        const QRect area = w->dlg->screen()->availableGeometry();
        QCOMPARE(w->dlg->frameGeometry(), area);
        QWidget* strip = w->dlg->control(IDC_BOTTOM_STRIP);
        QCOMPARE(strip->geometry().right() + 1, w->dlg->width() - 5);
        // Once it covers the area nothing moves.
        w->dlg->FillScreenUnlessMaximised();
        QCOMPARE(w->dlg->frameGeometry(), area);
    }

    // Every radio and label of a group box shows its whole text inside the box's frame.
    void textsStayInsideTheirGroupBoxes() {
        const auto groups = w->dlg->findChildren<QGroupBox*>();
        QList<QWidget*> texts;
        for (QRadioButton* r : w->dlg->findChildren<QRadioButton*>()) {
            texts << r;
        }
        for (QLabel* l : w->dlg->findChildren<QLabel*>()) {
            texts << l;
        }
        int checked = 0;
        for (QWidget* t : texts) {
            if (t->isHidden() || t->parentWidget() != w->dlg.get()) {
                continue;
            }
            const QGroupBox* inner = nullptr;
            for (const QGroupBox* g : groups) {
                if (g->geometry().contains(t->geometry().topLeft()) &&
                    (inner == nullptr || inner->geometry().contains(g->geometry()))) {
                    inner = g;
                }
            }
            if (inner == nullptr) {
                continue;
            }
            ++checked;
            QVERIFY2(t->width() >= t->sizeHint().width(), qPrintable(t->objectName()));
            QVERIFY2(t->x() + t->sizeHint().width() + 3 <= inner->geometry().right(),
                     qPrintable(t->objectName()));
        }
        QVERIFY(checked >= 10);
    }

    // Scrolled to its end, the grid keeps its top row whole under the header, and its last row.
    void scrolledGridKeepsItsTopRowWhole() {
        AddRows(60);
        w->dlg->setWindowState(Qt::WindowNoState);
        QScrollBar* bar = w->grid()->verticalScrollBar();
        // Window heights that leave room for part of a row at the grid's bottom.
        for (int extra = 0; extra < 3; ++extra) {
            w->dlg->resize(1000, 760 + 5 * extra);
            QApplication::processEvents();
            for (auto action :
                 {QAbstractSlider::SliderToMaximum, QAbstractSlider::SliderSingleStepSub,
                  QAbstractSlider::SliderSingleStepAdd}) {
                bar->triggerAction(action);
                QApplication::processEvents();
                const int top = w->grid()->rowAt(0);
                QCOMPARE(w->grid()->rowViewportPosition(top), 0);
                QCOMPARE(top, bar->value());
            }
            const int last = w->grid()->model()->rowCount() - 1;
            QVERIFY(w->grid()->rowViewportPosition(last) + w->grid()->rowHeight(last) <=
                    w->grid()->viewport()->height());
        }
    }

    // The window goes no smaller than keeps the grid, the strip under the preview and every
    // control and toolbar button in view.
    void smallestWindowKeepsEveryControlUsable() {
        const QSize area = w->dlg->screen()->availableGeometry().size();
        if (area.width() < 1000 || area.height() < 740) {
            QSKIP("the screen is smaller than the window's least size");
        }
        w->dlg->setWindowState(Qt::WindowNoState);
        w->dlg->resize(400, 300);
        QApplication::processEvents();
        QCOMPARE(w->dlg->size(), w->dlg->minimumSize());
        const QRect inside = w->dlg->rect();
        const int ids[] = {int(Control::Material),
                           int(Control::Density),
                           int(Control::CopiesEdit),
                           int(Control::CurrentAndBelow),
                           IDC_PICTURE,
                           IDC_GRID,
                           IDC_BOTTOM_STRIP};
        for (int id : ids) {
            QVERIFY2(inside.contains(w->dlg->control(id)->geometry()),
                     qPrintable(QString::number(id)));
        }
        QVERIFY(w->grid()->viewport()->height() > 5 * w->grid()->rowHeight(0));
        QVERIFY(w->grid()->verticalScrollBar()->isVisibleTo(w->dlg.get()) ||
                w->grid()->verticalScrollBar()->maximum() == 0);
        const QWidget* preview = w->dlg->previewWindow();
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->geometry(), w->dlg->control(IDC_BOTTOM_STRIP)->geometry());
        QVERIFY(preview->height() >= 60);
        for (QAction* a : w->dlg->toolbar()->actions()) {
            if (!a->isSeparator()) {
                QVERIFY2(w->dlg->toolbar()->widgetForAction(a)->isVisible(), qPrintable(a->text()));
            }
        }
    }

    void printSendsTheJobAndReportsInTheStatusWindow() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("L1"));
        w->dlg->command(ID_PRINT)->trigger();  // commits the open editor first
        QCOMPARE(w->printer.jobs().size(), std::size_t{1});
        QCOMPARE(w->dlg->statusWindow()->statusText(),
                 QStringLiteral("全部打印内容传输完成，请等待打印结束！"));
        QVERIFY(!w->dlg->statusWindow()->isVisible());
        QCOMPARE(w->clock.sleeps, std::vector<int>({2000}));
        QVERIFY(w->prompts.messages.empty());
    }

    // The picker's symbols go to the cell being edited, after the editor has committed what was
    // typed; the grid shows them at once.
    void symbolButtonAppendsToTheCellBeingEdited() {
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("PE"));
        w->prompts.symbols.push_back(std::string("\xAA\xA1\xAA\xED"));
        w->dlg->command(ID_SYMBOL)->trigger();
        QCOMPARE(w->prompts.symbol_runs, 1);
        QVERIFY(w->Editor() == nullptr);
        const QString shown = QStringLiteral("PE") + QChar(0xE000) + QChar(0xE04C);
        QCOMPARE(w->Cell(0, COL_TEXT), shown);
        QCOMPARE(w->grid()->model()->index(0, COL_TEXT).data().toString(), shown);
        QVERIFY(w->prompts.messages.empty());
    }

    void savedProjectOpensAgainIntoTheGrid() {
        QTemporaryDir dir;
        const std::string path = QFile::encodeName(dir.filePath("job.qvk")).toStdString();
        w->ClickCell(0, COL_TEXT);
        Type(w->Editor(), QStringLiteral("电源"));
        QTest::keyClick(w->Editor(), Qt::Key_Return);
        Type(w->Editor(), QStringLiteral("K2"));
        w->prompts.files.push_back(path);
        w->dlg->command(ID_FILE_SAVE)->trigger();
        QVERIFY(QFile::exists(QString::fromStdString(path)));

        testing::Window fresh;
        fresh.prompts.files.push_back(path);
        fresh.prompts.answers.push_back(true);  // replace what the grid holds
        fresh.dlg->command(ID_FILE_OPEN)->trigger();
        QVERIFY(!fresh.prompts.unexpected);
        QCOMPARE(fresh.grid()->model()->rowCount(), 2);
        QCOMPARE(fresh.Cell(0, COL_TEXT), QStringLiteral("电源"));
        QCOMPARE(fresh.Cell(1, COL_TEXT), QStringLiteral("K2"));
        QCOMPARE(fresh.grid()->model()->index(1, COL_TEXT).data().toString(), QStringLiteral("K2"));
    }

    void excelImportButtonFillsTheGridFromAWorkbook() {
        const QString samples =
            qEnvironmentVariable("QVPRT_SAMPLES", QStringLiteral("../shared/samples"));
        if (!QFile::exists(samples + QStringLiteral("/spreadsheets/MANIFEST.tsv"))) {
            QSKIP("the shared samples are not on this machine");
        }
        w->prompts.files.push_back(
            QFile::encodeName(samples +
                              QStringLiteral("/spreadsheets/xlsx-excel-cn-blanks-decimals.xlsx"))
                .toStdString());
        w->dlg->command(ID_EXCEL_IMPORT)->trigger();
        QVERIFY(!w->prompts.unexpected);
        QVERIFY(w->prompts.messages.empty());
        QCOMPARE(w->grid()->model()->rowCount(), 18);
        QCOMPARE(w->grid()->model()->index(0, COL_TEXT).data().toString(), QStringLiteral("1"));
        QCOMPARE(w->grid()->model()->index(0, COL_TEXT2).data().toString(),
                 QStringLiteral("测试1"));
        QCOMPARE(w->grid()->model()->index(0, COL_REPEAT).data().toString(), QStringLiteral("100"));
        QCOMPARE(w->grid()->model()->index(0, COL_FONTSIZE).data().toString(), QStringLiteral("3"));
        QCOMPARE(w->grid()->model()->index(17, COL_NUMBER).data().toString(), QStringLiteral("18"));
        QCOMPARE(w->editor().current_row(), 0);
    }

    void ctrlVPastesACopiedRangeButStaysPlainInTheCellEditor() {
        QGuiApplication::clipboard()->setText(
            QStringLiteral("W1\t电源\t2\r\nW2\t\t3\r\nW3\t\t\r\n"));
        w->grid()->setFocus();
        QTest::keyClick(w->grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->grid()->model()->rowCount(), 3);
        QCOMPARE(w->Cell(0, COL_TEXT2), QStringLiteral("电源"));
        QCOMPARE(w->Cell(1, COL_REPEAT), QStringLiteral("3"));
        QCOMPARE(w->grid()->model()->index(2, COL_TEXT).data().toString(), QStringLiteral("W3"));

        // A single value goes into the current row's text cell.
        w->ClickCell(2, COL_NUMBER);
        QGuiApplication::clipboard()->setText(QStringLiteral("K7\r\n"));
        w->grid()->setFocus();
        QTest::keyClick(w->grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->Cell(2, COL_TEXT), QStringLiteral("K7"));

        // With the cell editor open, paste is the editor's own.
        w->ClickCell(1, COL_TEXT);
        QVERIFY(w->Editor() != nullptr);
        QGuiApplication::clipboard()->setText(QStringLiteral("X\tY"));
        QTest::keyClick(w->Editor(), Qt::Key_End);
        QTest::keyClick(w->Editor(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(w->Editor()->text().startsWith(QStringLiteral("W2X")));
        QCOMPARE(w->grid()->model()->rowCount(), 3);
        QCOMPARE(w->Cell(2, COL_TEXT), QStringLiteral("K7"));
    }

    void startUpWithoutAPrinterWarnsOnceAndOpens() {
        w = std::make_unique<testing::Window>(false);
        QCOMPARE(w->prompts.Texts(),
                 std::vector<std::string>({"端口打开错误, 请确认打印机已经正确联机！"}));
        QCOMPARE(w->editor().usb_ready(), 0);
        QCOMPARE(w->grid()->model()->rowCount(), 1);
        QCOMPARE(w->Cell(0, COL_CURRENT), QStringLiteral("★"));
    }

    void f1OpensTheAboutBox() {
        QString title;
        QStringList texts;
        QTimer::singleShot(0, this, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(qobject_cast<CAboutDlg*>(box) != nullptr);
            title = box->windowTitle();
            for (QLabel* l : box->findChildren<QLabel*>()) {
                if (!l->text().isEmpty()) {
                    texts << l->text();
                }
            }
            const auto buttons = box->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons[0]->text(), QStringLiteral("确定"));
            buttons[0]->click();
        });
        QTest::keyClick(w->dlg.get(), Qt::Key_F1);
        QCOMPARE(title, QStringLiteral("关于 QvprtTest"));
        QCOMPARE(texts.size(), 2);
        QVERIFY(texts[0].contains(QStringLiteral(QVPRT_VERSION)));
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
