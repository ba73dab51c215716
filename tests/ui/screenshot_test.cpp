// Writes the main window at 1280 x 800 with a few typed rows to a PNG in the build folder, for a
// person to hold against the template's layout.
#include <QDir>
#include <QFile>
#include <QTest>

#include "ui/editor/QvprtTestApp.h"
#include "ui_helpers.h"

namespace qvprt::ui {
namespace {

// Types each text into the text cell of its own row.
void TypeRows(testing::Window& w, const QStringList& rows) {
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
}

void Save(testing::Window& w, const char* name) {
    QApplication::processEvents();
    const QString dir = qEnvironmentVariable("QVPRT_BUILD_DIR", QDir::currentPath());
    const QString path =
        dir + QStringLiteral("/qvprt-") + QString::fromLatin1(name) + QStringLiteral(".png");
    const QImage shot = w.dlg->grab().toImage();
    QCOMPARE(shot.size(), QSize(1280, 800));
    QVERIFY(shot.save(path));
    qInfo("screenshot: %s", qPrintable(path));
}

class ScreenshotTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindowWithTypedRows() {
        testing::Window w;
        w.dlg->setWindowState(Qt::WindowNoState);
        w.dlg->resize(1280, 800);
        const QStringList rows = {QStringLiteral("L1-101"), QStringLiteral("电源 A相"),
                                  QStringLiteral("N-PE 接地"), QStringLiteral("KM1:13")};
        TypeRows(w, rows);
        Save(w, "main-window");
    }

    // Shared samples taken in through the Excel导入 button, one shot each.
    void importedSamples() {
        const QString samples =
            qEnvironmentVariable("QVPRT_SAMPLES", QStringLiteral("../shared/samples"));
        if (!QFile::exists(samples + QStringLiteral("/spreadsheets/MANIFEST.tsv"))) {
            QSKIP("the shared samples are not on this machine");
        }
        const struct {
            const char* file;
            const char* shot;
            int rows;
        } cases[] = {
            {"xlsx-excel-cn-blanks-decimals.xlsx", "import-xlsx", 18},
            {"ods-libreoffice-types-merged-active-sheet2.ods", "import-ods", 8},
            {"csv-gbk-crlf-hanzi.csv", "import-csv", 976},  // the job is full there
        };
        for (const auto& c : cases) {
            testing::Window w;
            w.dlg->setWindowState(Qt::WindowNoState);
            w.dlg->resize(1280, 800);
            w.prompts.files.push_back(QFile::encodeName(samples + QStringLiteral("/spreadsheets/") +
                                                        QString::fromLatin1(c.file))
                                          .toStdString());
            w.dlg->command(ID_EXCEL_IMPORT)->trigger();
            QVERIFY(!w.prompts.unexpected);
            QCOMPARE(w.grid()->model()->rowCount(), c.rows);
            w.dlg->command(ID_PREVIEW)->trigger();
            Save(w, c.shot);
        }
    }

    // Symbols and both script marks, as the picker and the mark commands leave them in a cell,
    // shown in the grid from our font; the last row stays open in the cell editor.
    void gridWithSymbolsAndMarks() {
        testing::Window w;
        w.dlg->setWindowState(Qt::WindowNoState);
        w.dlg->resize(1280, 800);
        TypeRows(w, {QString::fromUtf16(u"\uE000PE 接地"), QString::fromUtf16(u"X\uE0512 Y\uE052a"),
                     QString::fromUtf16(u"\uE002\uE013 \uE020 \uE01F"),
                     QString::fromUtf16(u"220V \uE030 \uE02D \uE032"),
                     QString::fromUtf16(u"\uE040 \uE044\uE04B\uE04C")});
        w.dlg->command(ID_PREVIEW)->trigger();
        w.ClickCell(4, editor::COL_TEXT);
        QVERIFY(w.Editor() != nullptr);
        Save(w, "symbols-grid");
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
