// Pictures of the preview strip for a person to check: PNGs in the build folder.
#include <QDir>
#include <QScrollBar>
#include <QTest>

#include "preview_harness.h"

namespace qvprt::ui {
namespace {

using testing::PreviewHarness;

QString Save(PreviewHarness& h, const char* name) {
    const QString dir = qEnvironmentVariable("QVPRT_BUILD_DIR", QDir::currentPath());
    const QString path = dir + QStringLiteral("/qvprt-preview-") + QString::fromLatin1(name) +
                         QStringLiteral(".png");
    h.strip.show();
    QApplication::processEvents();
    const QImage shot = h.strip.grab().toImage();
    if (!shot.save(path)) {
        qWarning("cannot write %s", qPrintable(path));
    }
    qInfo("screenshot: %s", qPrintable(path));
    return path;
}

class PreviewScreenshots : public QObject {
    Q_OBJECT
  private slots:
    void shortJob() {
        PreviewHarness h;
        h.Row(0, "L1-101");
        h.Row(1, "电源 A相").font_size = 4;
        model::set_repeat(h.Row(2, "N-PE"), 3);
        h.Row(3, "KM1:13").font_size = 2;
        h.editor.MakeRowCurrent(1);
        h.Preview();
        QVERIFY(!Save(h, "short").isEmpty());
    }
    void longJobScrolledToAMiddleRow() {
        PreviewHarness h;
        for (int r = 0; r < 1000; ++r) {
            const std::string t = "X" + std::to_string(r + 1) + "-" + std::to_string(1000 - r);
            model::set_repeat(h.Row(r, t.c_str()), 2);
        }
        h.editor.MakeRowCurrent(500);
        h.Preview();
        QVERIFY(h.strip.scroll().position() > 0);
        QVERIFY(!Save(h, "long-middle").isEmpty());
    }
    void verticalText() {
        PreviewHarness h;
        editor::testing::Settings(h.editor).material_code = {'L', 'A', 'B', 0};
        editor::testing::Settings(h.editor).material_param_index = 2;
        model::SegmentNode& a = h.Row(0, "竖排ABC");
        a.direction = {'1', '3'};
        a.decoration = 'F';
        h.Row(1, "横排ABC").decoration = 'F';
        model::SegmentNode& c = h.Row(2, "K1", "线号");
        c.direction = {'1', '3'};
        c.font_size = 2;
        h.Preview();
        QVERIFY(!Save(h, "vertical").isEmpty());
    }
    // Symbols and both script marks (U+E000.. and U+E051/U+E052 as the grid holds them) in our
    // font, among the Song face's characters, across and turned.
    void symbolsAndMarks_data() {
        QTest::addColumn<bool>("vertical");
        QTest::newRow("symbols-horizontal") << false;
        QTest::newRow("symbols-vertical") << true;
    }
    void symbolsAndMarks() {
        QFETCH(bool, vertical);
        PreviewHarness h;
        editor::testing::Settings(h.editor).material_code = {'L', 'A', 'B', 0};
        editor::testing::Settings(h.editor).material_param_index = 2;
        const char* rows[] = {"\uE000PE 接地", "X\uE0512 Y\uE052a", "\uE002\uE013 \uE020",
                              "220V \uE030 \uE02D", "\uE040 \uE044\uE04B"};
        for (int i = 0; i < 5; ++i) {
            model::SegmentNode& n = h.Row(i, rows[i]);
            n.decoration = 'F';
            if (vertical) {
                n.direction = {'1', '3'};
            }
        }
        h.Preview();
        QVERIFY(!Save(h, QTest::currentDataTag()).isEmpty());
    }
    void bordersAndUnderlines() {
        PreviewHarness h;
        editor::testing::Settings(h.editor).material_code = {'L', 'A', 'B', 0};
        editor::testing::Settings(h.editor).material_param_index = 1;
        h.Row(0, "BORDER").decoration = 'F';
        h.Row(1, "UNDER").decoration = 'L';
        h.Row(2, "PLAIN").decoration = 'N';
        model::SegmentNode& d = h.Row(3, "TWO", "LINES");
        d.decoration = 'F';
        d.font_size = 2;
        model::SegmentNode& e = h.Row(4, "UP", "DOWN");
        e.decoration = 'L';
        e.font_size = 2;
        model::SegmentNode& f = h.Row(5, "FIXED-CENTRED-TOO-LONG");
        f.decoration = 'F';
        f.auto_length = 0;
        f.length_dots = 240;
        h.Preview();
        QVERIFY(!Save(h, "borders").isEmpty());
    }
    void serialCopies() {
        PreviewHarness h;
        PreviewHarness::Serial(h.Row(0, "W№"), 'n', "8", "11");
        PreviewHarness::Serial(h.Row(1, "P№"), 'p', "5", "7");
        model::SegmentNode& c = h.Row(2, "№相");
        PreviewHarness::Serial(c, 'U', "C", "A");
        model::set_repeat(c, 2);
        PreviewHarness::Serial(h.Row(3, "x№"), 'l', "a", "c");
        h.Preview();
        QVERIFY(!Save(h, "serial").isEmpty());
    }
};

}  // namespace
}  // namespace qvprt::ui

QTEST_MAIN(qvprt::ui::PreviewScreenshots)
#include "preview_screenshot_test.moc"
