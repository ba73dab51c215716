// The filtered edit box, the header's picture and the status window on their own.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/editor/QvprtTestApp.h"
#include "ui/grid/MyEdit.h"
#include "ui/preview/MyState.h"
#include "ui/style.h"
#include "ui_helpers.h"

namespace qvprt::ui {
namespace {

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void myEditFiltersAndCase_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("letterCase");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("upper letter") << 2 << 1 << 2 << "a"
                                      << "A";
        QTest::newRow("letters refuse digits") << 2 << 1 << 2 << "1"
                                               << "";
        QTest::newRow("lower letters") << 2 << 0 << 1 << "AbC1-"
                                       << "abc";
        QTest::newRow("case out of range is any") << 2 << 0 << 7 << "aB"
                                                  << "aB";
        QTest::newRow("digits up to the limit") << 1 << 3 << 0 << "1234"
                                                << "123";
        QTest::newRow("digits refuse the rest") << 1 << 0 << 0 << "1a.2-中"
                                                << "12";
        QTest::newRow("no filter") << 0 << 0 << 0 << "a1中."
                                   << "a1中.";
    }
    void myEditFiltersAndCase() {
        QFETCH(int, filter);
        QFETCH(int, limit);
        QFETCH(int, letterCase);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        CMyEdit edit;
        if (filter == CMyEdit::FILTER_DIGITS) {
            edit.SetDigitsMode(limit);
        } else if (filter == CMyEdit::FILTER_LETTERS) {
            edit.SetLettersMode(limit, letterCase);
        }
        testing::Type(&edit, typed);
        QCOMPARE(edit.GetEditText(), shown);
        if (!shown.isEmpty()) {
            QTest::keyClick(&edit, Qt::Key_Backspace);
            QCOMPARE(edit.GetEditText(), shown.left(shown.size() - 1));
        }
    }

    // Column 0's box: outline, tick and face as painted, for each header state.
    void headerPaintsTheCheckBox_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("ticked") << 2;
        QTest::newRow("clear") << 1;
        QTest::newRow("none") << 0;
    }
    void headerPaintsTheCheckBox() {
        QFETCH(int, state);
        testing::Window w;
        w.grid()->SetHeaderCheckState(editor::COL_CHECK, state);
        QHeaderView* h = w.grid()->horizontalHeader();
        const QImage img = h->grab().toImage();
        const int left = CMyHeaderCtrl::kMargin;
        const int top = (h->height() - CMyHeaderCtrl::kBoxSize) / 2;
        const QColor outline(51, 102, 153), tick(51, 153, 51);
        QCOMPARE(img.pixelColor(left, top + 6) == outline, state != 0);
        QCOMPARE(img.pixelColor(left + 12, top + 6) == outline, state != 0);
        QCOMPARE(img.pixelColor(left + 9, top + 3) == tick, state == 2);
        QCOMPARE(img.pixelColor(left + 5, top + 9) == tick, state == 2);
        QCOMPARE(img.pixelColor(left + 3, top + 7) == tick, state == 2);
        QCOMPARE(img.pixelColor(left + 9, top + 5) == tick, state == 2);
        QCOMPARE(img.pixelColor(left + 9, top + 6) == tick, false);
        // Face: the grid's background, beyond the last column too.
        QCOMPARE(img.pixelColor(img.width() - 3, h->height() / 2), kWindowColor);
        QCOMPARE(img.pixelColor(left + 1, top + 1) == kWindowColor, state == 0);
    }

    void statusWindowAnswers() {
        CMyState s;
        QCOMPARE(s.statusText(), QStringLiteral("正在处理打印数据..."));
        QVERIFY(s.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(s.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(s.label()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(s.label()->font().pixelSize(), 16);
        s.show();
        QVERIFY(s.continueButton()->isHidden());
        QVERIFY(s.cancelButton()->isHidden());
        s.SetStatusText(QStringLiteral("全部打印内容传输完成，请等待打印结束！"));
        QCOMPARE(s.label()->text(), QStringLiteral("全部打印内容传输完成，请等待打印结束！"));

        s.ShowContinueCancel(true);
        QVERIFY(s.continueButton()->isVisible());
        QVERIFY(s.cancelButton()->isVisible());
        QCOMPARE(s.GetAnswer(), int(CMyState::ANSWER_NONE));
        QTest::mouseClick(s.continueButton(), Qt::LeftButton);
        QCOMPARE(s.GetAnswer(), int(CMyState::ANSWER_CONTINUE));
        QVERIFY(s.continueButton()->isHidden());
        // Still "shown" for the window: asking again changes nothing until it is withdrawn.
        s.ShowContinueCancel(true);
        QCOMPARE(s.GetAnswer(), int(CMyState::ANSWER_CONTINUE));
        QVERIFY(s.continueButton()->isHidden());
        s.ShowContinueCancel(false);
        s.ShowContinueCancel(true);
        QCOMPARE(s.GetAnswer(), int(CMyState::ANSWER_NONE));

        QTest::keyClick(&s, Qt::Key_Escape);
        QVERIFY(s.isVisible());
        QTest::mouseClick(s.cancelButton(), Qt::LeftButton);
        QCOMPARE(s.GetAnswer(), int(CMyState::ANSWER_CANCEL));
        QVERIFY(!s.isVisible());

        s.show();
        s.ShowCancelOnly(true);
        QCOMPARE(s.GetAnswer(), int(CMyState::ANSWER_AUTO));
        QVERIFY(s.continueButton()->isHidden());
        QVERIFY(s.cancelButton()->isVisible());
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::WidgetsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "widgets_test.moc"
