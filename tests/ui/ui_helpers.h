#pragma once
// Typing, clicking and the window under test.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTest>
#include <memory>

#include "editor/fake_ports.h"
#include "ui/editor/QvprtTestDlg.h"

namespace qvprt::ui::testing {

// QTest::keyClicks asserts on text outside Latin-1: send such characters one key event each.
inline void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }
}

// The user picks entry `position` of a box with the keyboard.
inline void Pick(QComboBox* box, int position) {
    box->setFocus();
    const int from = box->currentIndex();
    for (int i = from; i < position; ++i) {
        QTest::keyClick(box, Qt::Key_Down);
    }
    for (int i = from; i > position; --i) {
        QTest::keyClick(box, Qt::Key_Up);
    }
    QCOMPARE(box->currentIndex(), position);
}

inline void ClickHeader(QTableView* grid, int section) {
    QHeaderView* h = grid->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(h->sectionViewportPosition(section) + 8, h->height() / 2));
}

// The main window with scripted prompts, the simulated printer and a clock that never sleeps,
// shown and active.
struct Window {
    editor::testing::FakePrompts prompts;
    printing::SimPrinter printer;
    editor::testing::FakeClock clock;
    std::unique_ptr<CQvprtTestDlg> dlg;

    explicit Window(bool printer_present = true) {
        printer.behaviour.present = printer_present;
        dlg = std::make_unique<CQvprtTestDlg>(printer, &prompts, &clock);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        (void)QTest::qWaitForWindowActive(dlg.get());
    }
    CMyListCtrl* grid() const { return dlg->grid(); }
    editor::Editor& editor() const { return dlg->editor(); }
    QString Cell(int row, int column) const {
        return QString::fromStdString(
            text::gbk_to_utf8(dlg->editor().grid().GetItemText(row, column)));
    }
    QRect CellRect(int row, int column) const {
        return grid()->visualRect(grid()->model()->index(row, column));
    }
    void ClickCell(int row, int column) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          CellRect(row, column).center());
    }
    CInPlaceEdit* Editor() const { return grid()->openEditor(); }
};

}  // namespace qvprt::ui::testing
