// The window under load: a job of 1000 rows typed through the cell editors, given its attributes,
// saved, opened again, previewed, printed and cut in half, as a user would. Run under the
// sanitizers by the asan preset; the time each stage took is printed.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include "ui/grid/InPlaceEdit.h"
#include "ui/preview/MyPrintView.h"
#include "ui_helpers.h"

namespace qvprt::ui {
namespace {

using namespace editor;

constexpr int kRows = 1000;

// Four bytes a row: 1000 records of 59 bytes fit one job (10 + 59000 bytes).
QString RowText(int row) {
    return QStringLiteral("W%1").arg(row, 3, 10, QLatin1Char('0'));
}

std::string RecordText(const model::SegmentNode& n) {
    return std::string(n.text.data(), n.text_length);
}

class LoadTest : public QObject {
    Q_OBJECT

    QElapsedTimer stage_;
    void Stage(const char* name) {
        qInfo("%-40s %6lld ms", name, static_cast<long long>(stage_.restart()));
    }

  private slots:
    void aThousandRowJobFromTheKeyboardToThePrinter() {
        QTemporaryDir dir;
        const QString saved = dir.filePath("load.qvk");
        testing::Window w;
        CMyListCtrl* grid = w.grid();
        stage_.start();

        // Typed: text, Enter, and the editor opens on the next row (a new one at the end).
        w.ClickCell(0, COL_TEXT);
        for (int r = 0; r < kRows; ++r) {
            CInPlaceEdit* e = w.Editor();
            QVERIFY2(e != nullptr, qPrintable(QString("no editor on row %1").arg(r)));
            QCOMPARE(e->row(), r);
            QTest::keyClicks(e, RowText(r));
            if (r + 1 < kRows) {
                QTest::keyClick(e, Qt::Key_Return);
            }
        }
        // Scrolling back to the top commits the last row's editor.
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(w.editor().grid().GetItemCount(), kRows);
        QVERIFY(w.prompts.messages.empty());
        int r = 0;
        for (const model::SegmentNode* n = w.editor().segments().head(); n != nullptr;
             n = n->next) {
            QCOMPARE(QString::fromStdString(RecordText(*n)), RowText(r++));
        }
        QCOMPARE(r, kRows);
        Stage("typed 1000 rows");

        // Attributes for every row: row 0 current, scope "当前段以下".
        w.ClickCell(0, COL_NUMBER);
        QCOMPARE(w.editor().current_row(), 0);
        testing::Pick(Box(w, Control::FontSize), 3);
        testing::Pick(Box(w, Control::Decoration), 1);
        auto edit = [&](Control id) {
            return static_cast<QLineEdit*>(w.dlg->control(static_cast<int>(id)));
        };
        edit(Control::LengthEdit)->selectAll();
        QTest::keyClicks(edit(Control::LengthEdit), "25");
        QTest::mouseClick(
            static_cast<QPushButton*>(w.dlg->control(static_cast<int>(Control::SetLength))),
            Qt::LeftButton);
        edit(Control::RepeatEdit)->selectAll();
        QTest::keyClicks(edit(Control::RepeatEdit), "2");
        QTest::mouseClick(static_cast<QPushButton*>(w.dlg->control(IDC_SET_REPEAT)),
                          Qt::LeftButton);
        QCOMPARE(w.prompts.Texts(), std::vector<std::string>{});
        for (const model::SegmentNode* n = w.editor().segments().head(); n != nullptr;
             n = n->next) {
            QCOMPARE(int(n->font_size), 3);
            QCOMPARE(n->decoration, 'F');  // 边框
            QCOMPARE(int(n->length_dots), 25 * model::dots_per_mm);
            QCOMPARE(int(n->repeat), 2);
        }
        Stage("attributes for every row");

        w.prompts.files.push_back(QFile::encodeName(saved).toStdString());
        w.dlg->command(ID_FILE_SAVE)->trigger();
        QVERIFY(QFile::exists(saved));
        w.prompts.answers.push_back(true);  // "是否删除当前内容？"
        w.prompts.files.push_back(QFile::encodeName(saved).toStdString());
        w.dlg->command(ID_FILE_OPEN)->trigger();
        QCOMPARE(w.editor().grid().GetItemCount(), kRows);
        QCOMPARE(w.Cell(kRows - 1, COL_TEXT), RowText(kRows - 1));
        QVERIFY(w.prompts.messages.empty());
        Stage("saved and opened again");

        w.dlg->command(ID_PREVIEW)->trigger();
        QApplication::processEvents();
        QVERIFY(w.dlg->previewWindow()->isVisible());
        Stage("previewed");

        w.dlg->command(ID_PRINT)->trigger();
        QCOMPARE(w.printer.jobs().size(), std::size_t{1});
        QVERIFY(w.prompts.messages.empty());
        const printing::SimPrinter::Bytes& printed = w.printer.jobs()[0];
        QCOMPARE(printed.size(), std::size_t{10 + kRows * 59});
        QProcess cli;
        cli.start(QStringLiteral(QVPRT_CLI),
                  {"print", saved, "--printer", "sim:" + dir.filePath("capture")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QFile job(dir.filePath("capture/job-1.bin"));
        QVERIFY(job.open(QIODevice::ReadOnly));
        const QByteArray expected = job.readAll();
        QVERIFY(expected == QByteArray(reinterpret_cast<const char*>(printed.data()),
                                       static_cast<qsizetype>(printed.size())));
        Stage("printed, as qvprt-cli prints the file");

        // Every other row ticked, from the first: those go.
        testing::ClickHeader(grid, COL_CHECK);
        QCOMPARE(grid->GetHeaderCheckState(COL_CHECK), 1);
        for (int row = 0; row < kRows; row += 2) {
            const QModelIndex check = grid->model()->index(row, COL_CHECK);
            grid->scrollTo(check);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                              grid->visualRect(check).center());
            QVERIFY(w.editor().grid().GetCheck(row));
        }
        w.prompts.answers.push_back(true);  // "将全部删除选定行，是否继续？"
        w.dlg->command(ID_DELETE_ROW)->trigger();
        QCOMPARE(w.editor().grid().GetItemCount(), kRows / 2);
        r = 0;
        for (const model::SegmentNode* n = w.editor().segments().head(); n != nullptr;
             n = n->next) {
            QCOMPARE(QString::fromStdString(RecordText(*n)), RowText(2 * r + 1));
            QCOMPARE(w.Cell(r, COL_NUMBER), QString::number(r + 1));
            ++r;
        }
        QCOMPARE(r, kRows / 2);
        QVERIFY(w.prompts.messages.empty());
        QVERIFY(!w.prompts.unexpected);
        Stage("deleted every other row");
    }

  private:
    static QComboBox* Box(const testing::Window& w, Control id) {
        return static_cast<QComboBox*>(w.dlg->control(static_cast<int>(id)));
    }
};

}  // namespace
}  // namespace qvprt::ui

QTEST_MAIN(qvprt::ui::LoadTest)
#include "load_test.moc"
