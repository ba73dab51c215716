// The preview strip on a QImage at 96 dpi: band, boxes, ticks and marker where the layout puts
// them; the scroll bar's requests; the timer that follows the current segment.
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include "preview_harness.h"

namespace qvprt::ui {
namespace {

using testing::PreviewHarness;

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBackground = qRgb(242, 243, 246);

// Centre line of the band on a picture of height h.
int CentreLine(int h, double mm) {
    const int band = layout::preview_band_height(96, mm);
    return ((h - band) / 2 + (h + band) / 2) / 2;
}

class PreviewTest : public QObject {
    Q_OBJECT
  private slots:
    void paintsAtNinetySixDpi() { QCOMPARE(CMyStatic().dpi(), 96); }

    void bandColoursAndHeight_data() {
        QTest::addColumn<double>("mm");
        QTest::addColumn<int>("height");
        QTest::newRow("tube 6.5") << 6.5 << 24;
        QTest::newRow("label 9.0") << 9.0 << 34;
        QTest::newRow("label 12") << 12.0 << 45;
        QTest::newRow("tube 5.0") << 5.0 << 18;
    }
    void bandColoursAndHeight() {
        QFETCH(double, mm);
        QFETCH(int, height);
        PreviewHarness h(QSize(400, 80));
        h.strip.SetPreviewHeight(mm);
        h.strip.ShowSegments(nullptr, h.editor.settings());
        const QImage img = h.Picture();
        QCOMPARE(img.height(), 60);
        int first = -1, count = 0;
        for (int y = 0; y < img.height(); ++y) {
            if (img.pixel(200, y) == kYellow) {
                first = first < 0 ? y : first;
                ++count;
            }
        }
        QCOMPARE(count, height);
        QCOMPARE(first, (60 - height) / 2);
        const int yc = CentreLine(60, mm);
        QCOMPARE(img.pixel(4, yc), kBackground);
        QCOMPARE(img.pixel(5, yc), kYellow);
        QCOMPARE(img.pixel(394, yc), kYellow);
        QCOMPARE(img.pixel(395, yc), kBackground);
        QCOMPARE(img.pixel(200, 0), kBackground);
        QCOMPARE(h.strip.picture()->GetContentWidth(), 20);
    }

    // "A1" at size 3: a 10-px font, the box at x = 14, the tick 4 px after it, the marker above.
    void boxTickAndMarker_data() {
        QTest::addColumn<char>("decoration");
        QTest::newRow("border") << 'F';
        QTest::newRow("underline") << 'L';
        QTest::newRow("none") << 'N';
    }
    void boxTickAndMarker() {
        QFETCH(char, decoration);
        PreviewHarness h;
        h.Row(0, "A1").decoration = decoration;
        const QImage img = h.Preview();
        const auto copies = h.Copies();
        QCOMPARE(copies.size(), std::size_t{1});
        const layout::PreviewCopy& c = copies[0];
        QCOMPARE(c.segment->font.pixel_size, 10);
        QCOMPARE(c.box_left, std::int64_t{14});
        QCOMPARE(c.box_width, 20);  // two characters as wide as they are high
        const int yc = CentreLine(60, 6.5);
        const std::int64_t tick = c.tick_x();
        QCOMPARE(tick, c.box_left + c.box_width + 4);
        QCOMPARE(img.pixel(int(tick), yc - 8), kBlack);
        QCOMPARE(img.pixel(int(tick), yc + 7), kBlack);
        QCOMPARE(img.pixel(int(tick), yc + 8), kYellow);
        QCOMPARE(img.pixel(int(tick) + 1, yc), kYellow);
        QCOMPARE(h.strip.picture()->GetContentWidth(), tick + 10);
        const int top = yc - c.line_height / 2;
        const int bottom = top + c.line_height;
        const int left = int(c.box_left), right = left + c.box_width;
        const QRgb corner = decoration == 'F' ? kBlack : kYellow;
        QCOMPARE(img.pixel(left, top), corner);
        QCOMPARE(img.pixel(right, top), corner);
        QCOMPARE(img.pixel(right, bottom), corner);
        QCOMPARE(img.pixel(right, yc), corner);
        QCOMPARE(img.pixel(left + 1, bottom), decoration == 'N' ? kYellow : kBlack);
        QCOMPARE(img.pixel(right - 1, bottom), decoration == 'N' ? kYellow : kBlack);
        // The marker over the first segment: outline at its corners, red inside.
        QCOMPARE(h.Layout().markers(), std::vector<std::int64_t>{10});
        QCOMPARE(img.pixel(10, 10), kBlack);
        QCOMPARE(img.pixel(40, 10), kBlack);
        QCOMPARE(img.pixel(25, 14), kRed);
        QCOMPARE(h.strip.picture()->GetMarkX(), std::int64_t{-10});
        // Some of the text is drawn inside the box.
        int ink = 0;
        for (int x = left + 1; x < right; ++x) {
            for (int y = top + 1; y < bottom; ++y) {
                ink += img.pixel(x, y) == kBlack ? 1 : 0;
            }
        }
        QVERIFY(ink > 10);
    }

    void disabledCurrentRowMarksTheNextSegment() {
        PreviewHarness h;
        h.Row(0, "AB");
        h.Row(1, "XYZ");
        h.Row(2, "C");
        editor::testing::Grid(h.editor).SetCheck(1, false);
        h.editor.MakeRowCurrent(1);
        const QImage img = h.Preview();
        const auto copies = h.Copies();
        QCOMPARE(copies.size(), std::size_t{2});
        const std::int64_t next = copies[1].box_left - 4;
        QCOMPARE(h.Layout().markers(), std::vector<std::int64_t>{next});
        QCOMPARE(img.pixel(int(next) + 15, 14), kRed);
        QCOMPARE(h.strip.picture()->GetMarkX(), next - 20);
    }

    void fixedWidthAndSerialCopies() {
        PreviewHarness h;
        model::SegmentNode& fixed = h.Row(0, "ABCDEFGHIJKLMNOP");
        fixed.auto_length = 0;
        fixed.length_dots = 240;
        PreviewHarness::Serial(h.Row(1, "W№"), 'n', "8", "11");
        h.Preview();
        const auto copies = h.Copies();
        QCOMPARE(copies.size(), std::size_t{5});
        QCOMPARE(copies[0].box_width, 240 * 96 / 300);
        std::vector<std::string> texts;
        for (std::size_t i = 1; i < copies.size(); ++i) {
            texts.push_back(layout::PreviewLayout::CopyText(*copies[i].segment, copies[i].value));
        }
        QCOMPARE(texts, (std::vector<std::string>{"W8", "W9", "W10", "W11"}));
        QCOMPARE(copies[3].box_width - copies[2].box_width, 10);  // one more digit
    }

    // A paint far into a long job draws the copies there, in the same places.
    void scrolledPaintDrawsTheCopiesThere() {
        PreviewHarness h(QSize(1920, 80));
        model::SegmentNode& n = h.Row(0, "L-№");
        PreviewHarness::Serial(n, 'n', "0", "999");
        model::set_repeat(n, 100);
        h.editor.OnPreview();
        const std::int64_t origin = h.Layout().content_width() / 2;
        h.strip.picture()->SetOrigin(origin);
        const QImage img = h.Picture();
        const auto copies = h.Copies(origin, origin + 1920);
        QVERIFY(copies.size() > 20);
        const int yc = CentreLine(60, 6.5);
        for (const auto& c : copies) {
            const std::int64_t x = c.tick_x() - origin;
            if (x >= 0 && x < 1920) {
                QCOMPARE(img.pixel(int(x), yc + 7), kBlack);
            }
        }
    }

    // Line steps stop at the ends, the ends are always reached, the picture follows the bar.
    void scrollRequests() {
        PreviewHarness h(QSize(800, 80));
        for (int r = 0; r < 60; ++r) {
            h.Row(r, "ROW-LONG-TEXT");
        }
        h.Preview();
        const std::int64_t w = h.Layout().content_width();
        QScrollBar* bar = h.strip.scrollBar();
        QCOMPARE(bar->maximum(), int(w));
        QCOMPARE(bar->pageStep(), 80);
        struct Step {
            QAbstractSlider::SliderAction action;
            std::int64_t position;
        };
        const Step steps[] = {
            {QAbstractSlider::SliderToMaximum, w},
            {QAbstractSlider::SliderSingleStepAdd, w},
            {QAbstractSlider::SliderSingleStepSub, w - 1},
            {QAbstractSlider::SliderPageStepAdd, w - 1},
            {QAbstractSlider::SliderPageStepSub, w - 81},
            {QAbstractSlider::SliderToMinimum, 0},
            {QAbstractSlider::SliderSingleStepSub, 0},
            {QAbstractSlider::SliderPageStepSub, 0},
            {QAbstractSlider::SliderPageStepAdd, 80},
        };
        for (const Step& s : steps) {
            bar->triggerAction(s.action);
            QCOMPARE(h.strip.scroll().position(), s.position);
            QCOMPARE(h.strip.picture()->origin(), s.position);
            QCOMPARE(std::int64_t{bar->value()}, s.position);
        }
        bar->setSliderPosition(333);
        bar->triggerAction(QAbstractSlider::SliderMove);
        QCOMPARE(h.strip.picture()->origin(), std::int64_t{333});
    }

    void narrowJobStaysAtTheLeft() {
        PreviewHarness h(QSize(800, 80));
        h.Row(0, "A1");
        h.Preview();
        QCOMPARE(h.strip.scrollBar()->maximum(), 0);
        QCOMPARE(h.strip.picture()->origin(), std::int64_t{0});
        QCOMPARE(h.strip.picture()->pictureWidth(), std::int64_t{800});
    }

    // The view follows the current segment, also when the picture keeps its width.
    void adjustmentFollowsTheCurrentRow() {
        PreviewHarness h(QSize(800, 80));
        for (int r = 0; r < 200; ++r) {
            h.Row(r, "W-100");
        }
        h.editor.MakeRowCurrent(100);
        h.Preview();
        const std::int64_t w = h.Layout().content_width();
        const std::int64_t m = h.Layout().mark_x();
        QCOMPARE(h.strip.picture()->pictureWidth(), w);
        QCOMPARE(h.strip.scroll().maximum(), w);
        QCOMPARE(h.strip.scroll().position(), m);
        QCOMPARE(h.strip.picture()->origin(), m);
        QCOMPARE(h.Layout().markers()[0] - h.strip.picture()->origin(), std::int64_t{20});

        h.editor.MakeRowCurrent(150);
        h.Preview();
        QCOMPARE(h.Layout().content_width(), w);
        QVERIFY(h.Layout().mark_x() > m);
        QCOMPARE(h.strip.picture()->origin(), h.Layout().mark_x());
        QCOMPARE(std::int64_t{h.strip.scrollBar()->value()}, h.Layout().mark_x());
    }

    // First after 100 ms, then every 500 ms.
    void timerAdjustsByItself() {
        PreviewHarness h(QSize(800, 80));
        for (int r = 0; r < 100; ++r) {
            h.Row(r, "W-100");
        }
        h.editor.MakeRowCurrent(50);
        QCOMPARE(h.strip.adjustTimer()->interval(), 100);
        QVERIFY(h.strip.adjustTimer()->isActive());
        h.strip.show();
        h.editor.OnPreview();
        QTRY_COMPARE_WITH_TIMEOUT(h.strip.picture()->origin(), h.Layout().mark_x(), 2000);
        QCOMPARE(h.strip.adjustTimer()->interval(), 500);
        QVERIFY(h.strip.adjustTimer()->isActive());
    }

    void previewHeightFromTheMaterial() {
        PreviewHarness h;
        editor::testing::Settings(h.editor).material_code = {'L', 'A', 'B', 0};
        editor::testing::Settings(h.editor).material_param_index = 2;
        h.editor.OnPreview();
        QCOMPARE(h.strip.picture()->GetHeightMm(), 12.0);
        editor::testing::Settings(h.editor).material_code = {'T', 'U', 'B', 0};
        editor::testing::Settings(h.editor).material_param_index = 0;
        h.editor.OnPreview();
        QCOMPARE(h.strip.picture()->GetHeightMm(), 5.0);
    }

    // The strip keeps its own copy: rows deleted after a preview are never read by a repaint.
    void repaintAfterRowsWereDeleted() {
        PreviewHarness h;
        h.Row(0, "A");
        h.Row(1, "B");
        h.Row(2, "C");
        h.Preview();
        editor::testing::Grid(h.editor).SetCheck(0, false);
        h.prompts.answers.push_back(true);
        h.editor.DeleteCheckedRows();
        QCOMPARE(h.editor.grid().GetItemCount(), 1);
        const QImage img = h.Picture();
        QCOMPARE(h.Copies().size(), std::size_t{3});
        QVERIFY(!img.isNull());
    }
};

}  // namespace
}  // namespace qvprt::ui

QTEST_MAIN(qvprt::ui::PreviewTest)
#include "preview_test.moc"
