// The serial-number dialog: it opens on the stored range, a type change empties the edits, the
// range preview follows the typing, OK refuses an empty edit and keeps the dialog open.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "ui/aids/NumSet.h"
#include "ui/editor/QvprtTestApp.h"
#include "ui/grid/MyEdit.h"

namespace qvprt::ui {
namespace {

using editor::SerialChoice;
using editor::SerialType;

SerialChoice Stored(SerialType type, const char* start, const char* end) {
    return std::get<SerialChoice>(editor::AcceptSerial(type, start, end));
}

class SerialDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOnTheStoredRange() {
        CNumSet dlg(Stored(SerialType::Upper, "B", "F"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("设置序号"));
        QCOMPARE(dlg.size(), QSize(315, 159));
        QVERIFY(dlg.radio(SerialType::Upper)->isChecked());
        QCOMPARE(dlg.startEdit()->text(), QStringLiteral("B"));
        QCOMPARE(dlg.endEdit()->text(), QStringLiteral("F"));
        QCOMPARE(dlg.rangeLabel()->text(), QStringLiteral("共5个：B, C, … F"));
        QCOMPARE(dlg.palette().color(QPalette::Window), QColor(242, 243, 246));

        CNumSet fresh(SerialChoice{});
        QVERIFY(fresh.radio(SerialType::Natural)->isChecked());
        QCOMPARE(fresh.startEdit()->maxLength(), 3);
        QCOMPARE(fresh.rangeLabel()->text(), QString());
    }

    void typeChangeEmptiesTheEditsAndSetsTheirMode() {
        CNumSet dlg(Stored(SerialType::Natural, "7", "12"));
        dlg.show();
        QTest::mouseClick(dlg.radio(SerialType::Lower), Qt::LeftButton);
        QCOMPARE(dlg.startEdit()->text(), QString());
        QCOMPARE(dlg.endEdit()->text(), QString());
        QCOMPARE(dlg.startEdit()->maxLength(), 1);
        dlg.startEdit()->setFocus();
        QTest::keyClicks(dlg.startEdit(), QStringLiteral("B7"));  // a lower-case letter only
        QCOMPARE(dlg.startEdit()->text(), QStringLiteral("b"));
        QTest::keyClicks(dlg.endEdit(), QStringLiteral("e"));
        QCOMPARE(dlg.rangeLabel()->text(), QStringLiteral("共4个：b, c, … e"));
    }

    void okRefusesAnEmptyEditAndRewritesANaturalStart() {
        CNumSet dlg(SerialChoice{});
        dlg.show();
        QTest::keyClicks(dlg.endEdit(), QStringLiteral("12"));
        QString shown;
        QTimer::singleShot(0, this, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("开始序号不能为空！"));
        QVERIFY(dlg.isVisible());
        QTest::keyClicks(dlg.startEdit(), QStringLiteral("007"));
        QCOMPARE(dlg.rangeLabel()->text(), QStringLiteral("共6个：7, 8, … 12"));
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.choice(), Stored(SerialType::Natural, "7", "12"));
        const QString dir = qEnvironmentVariable("QVPRT_BUILD_DIR", QDir::currentPath());
        CNumSet look(Stored(SerialType::Padded, "1", "12"));
        look.show();
        QApplication::processEvents();
        QVERIFY(look.grab().toImage().save(dir + QStringLiteral("/qvprt-serial-dialog.png")));
    }
};

}  // namespace
}  // namespace qvprt::ui

int main(int argc, char** argv) {
    qvprt::ui::CQvprtTestApp app(argc, argv);
    qvprt::ui::SerialDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "serial_dialog_test.moc"
