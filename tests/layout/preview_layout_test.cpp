#include "layout/preview_layout.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "layout/measure.h"
#include "text/bytes.h"

namespace qvprt::layout {
namespace {

// Every byte is one font pixel size wide (half that in the vertical face); lines are as high as
// the font.
class FakeMeasurer : public TextMeasurer {
  public:
    TextExtent Measure(std::string_view gbk, const PreviewFont& f) override {
        ++calls;
        fonts.push_back(f);
        const int per_byte = f.vertical ? f.pixel_size / 2 : f.pixel_size;
        return {static_cast<int>(gbk.size()) * per_byte, f.pixel_size};
    }
    int calls = 0;
    std::vector<PreviewFont> fonts;
};

// A job of records linked in order; records are horizontal, enabled, automatic length, size 3.
struct Job {
    model::JobSettings settings;
    std::deque<model::SegmentNode> nodes;

    model::SegmentNode& Add(std::string_view text, int font_size = 3) {
        model::SegmentNode& n = nodes.emplace_back();
        model::init_segment_defaults(n, settings);
        text::copy_field(n.text, text);
        n.text_length = static_cast<std::uint8_t>(text.size());
        n.font_size = static_cast<std::uint8_t>(font_size);
        n.auto_length = 1;
        if (nodes.size() > 1) {
            model::SegmentNode& prev = nodes[nodes.size() - 2];
            prev.next = &n;
            n.prev = &prev;
        }
        return n;
    }
    const model::SegmentNode* head() const { return nodes.empty() ? nullptr : &nodes.front(); }
};

void SetSerial(model::SegmentNode& n, char kind, const char* start, const char* end) {
    n.has_serial = 1;
    n.serial_natural = kind == 'n';
    n.serial_padded = kind == 'p';
    n.serial_upper = kind == 'U';
    n.serial_lower = kind == 'l';
    text::copy_field(n.serial_start, start);
    text::copy_field(n.serial_end, end);
    ComputeSerialRange(n);
}

struct Drawn {
    std::int64_t box_left;
    int box_width;
    std::string text;
    bool operator==(const Drawn&) const = default;
};

std::vector<Drawn> DrawnCopies(const PreviewLayout& l, std::int64_t x0 = INT64_MIN / 2,
                               std::int64_t x1 = INT64_MAX / 2) {
    std::vector<Drawn> v;
    l.ForEachCopy(x0, x1, [&](const PreviewCopy& c) {
        v.push_back({c.box_left, c.box_width, PreviewLayout::CopyText(*c.segment, c.value)});
    });
    return v;
}

TEST(PreviewGeometry, FontsAndBand) {
    // font_size 1..6: 16, 24, 32, 40, 48, 64 printer dots at 300 dpi.
    const int at96[] = {0, 5, 7, 10, 12, 15, 20, 0};
    for (int size = 0; size <= 7; ++size) {
        EXPECT_EQ(preview_font_pixels(size, 96), at96[size]) << size;
    }
    EXPECT_EQ(preview_font_pixels(6, 300), 64);
    EXPECT_EQ(preview_band_height(96, 6.5), 24);
    EXPECT_EQ(preview_band_height(96, 9.0), 34);
    EXPECT_EQ(preview_band_height(96, 12.0), 45);
    EXPECT_EQ(preview_band_height(96, 5.0), 18);
}

TEST(PreviewLayout, EmptyJobNeedsTwentyPixels) {
    Job job;
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(nullptr, job.settings, 96, m);
    EXPECT_EQ(l.content_width(), 20);
    EXPECT_FALSE(l.has_mark());
    EXPECT_TRUE(DrawnCopies(l).empty());
}

TEST(PreviewLayout, OneCopyBoxTickAndWidth) {
    Job job;
    job.Add("A1").is_current = 1;
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    ASSERT_EQ(m.fonts.size(), 1u);
    EXPECT_EQ(m.fonts[0], (PreviewFont{10, false}));
    std::vector<PreviewCopy> copies;
    l.ForEachCopy(0, 1000, [&](const PreviewCopy& c) { copies.push_back(c); });
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].box_left, 14);
    EXPECT_EQ(copies[0].box_width, 20);
    EXPECT_EQ(copies[0].line_height, 10);
    EXPECT_EQ(copies[0].tick_x(), 14 + 20 + 4);
    EXPECT_EQ(l.content_width(), copies[0].tick_x() + 10);
    ASSERT_EQ(l.markers(), std::vector<std::int64_t>{10});
    EXPECT_EQ(l.mark_x(), -10);
}

TEST(PreviewLayout, DisabledCurrentRecordMarksWhereTheNextBegins) {
    Job job;
    job.Add("AB");
    model::SegmentNode& off = job.Add("XYZ");
    off.enabled = 0;
    off.is_current = 1;
    job.Add("C");
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    const std::vector<Drawn> want{{14, 20, "AB"}, {42, 10, "C"}};
    EXPECT_EQ(DrawnCopies(l), want);
    EXPECT_EQ(l.markers(), std::vector<std::int64_t>{38});
    EXPECT_EQ(l.mark_x(), 18);
}

TEST(PreviewLayout, RepeatsAndSerialCopies) {
    struct Case {
        const char* name;
        const char* text;
        int repeat;
        char kind;  // 0: no serial
        const char* start;
        const char* end;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"repeat 3", "K1", 3, 0, "", "", {"K1", "K1", "K1"}},
        {"natural 8 to 11", "W\x12-", 1, 'n', "8", "11", {"W8-", "W9-", "W10-", "W11-"}},
        {"padded 5 to 7", "\x14", 1, 'p', "5", "7", {"005", "006", "007"}},
        {"upper C to A", "X\x16", 1, 'U', "C", "A", {"XC", "XB", "XA"}},
        {"lower a to c, repeat 2", "\x18", 2, 'l', "a", "c", {"a", "b", "c", "a", "b", "c"}},
        {"descending natural", "\x12", 1, 'n', "10", "8", {"10", "9", "8"}},
        {"no placeholder: same text, count kept", "NO", 1, 'n', "1", "3", {"NO", "NO", "NO"}},
        {"trimmed, placeholder in the trimmed text", "  A\x12 ", 1, 'n', "1", "2", {"A1", "A2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Job job;
        model::SegmentNode& n = job.Add(c.text);
        model::set_repeat(n, c.repeat);
        if (c.kind != 0) {
            SetSerial(n, c.kind, c.start, c.end);
        }
        FakeMeasurer m;
        PreviewLayout l;
        l.Build(job.head(), job.settings, 96, m);
        const std::vector<Drawn> got = DrawnCopies(l);
        std::vector<std::string> texts;
        std::int64_t cursor = 10;
        for (const Drawn& d : got) {
            texts.push_back(d.text);
            // Each box is as wide as its own text, 8 px after the previous one.
            EXPECT_EQ(d.box_left, cursor + 4);
            EXPECT_EQ(d.box_width, 10 * static_cast<int>(d.text.size()));
            cursor = d.box_left + d.box_width + 4;
        }
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(l.copy_count(), static_cast<std::int64_t>(c.texts.size()));
        EXPECT_EQ(l.content_width(), cursor + 10);
    }
}

TEST(PreviewLayout, CountBeyondTheRangeAlternatesAtTheEnd) {
    // Only a file can hold such a record: the range 1..2 with five copies.
    Job job;
    model::SegmentNode& n = job.Add("\x12");
    SetSerial(n, 'n', "1", "2");
    n.serial_count = 5;
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    std::vector<std::string> texts;
    for (const Drawn& d : DrawnCopies(l)) {
        texts.push_back(d.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "2", "1", "2", "1"}));
}

TEST(PreviewLayout, FixedWidthFontCarryAndFace) {
    Job job;
    model::SegmentNode& a = job.Add("ABCDEFGHIJ", 0);  // size 0 first: 9 px
    a.auto_length = 0;
    a.feed_dots = 240;
    job.Add("B", 5);                         // 15 px
    job.Add("C", 0);                         // keeps 15
    job.Add("D", 7).direction = {'1', '3'};  // keeps 15, vertical face
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    const std::vector<PreviewFont> fonts{{9, false}, {15, false}, {15, false}, {15, true}};
    EXPECT_EQ(m.fonts, fonts);
    const std::vector<Drawn> got = DrawnCopies(l);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].box_width, 76);  // 240 × 96 / 300 whatever the text
    EXPECT_EQ(got[1].box_left, 14 + 76 + 8);
}

TEST(PreviewLayout, DoubleLineTakesTheWiderLine) {
    Job job;
    model::SegmentNode& n = job.Add(
        "AB\x1a"
        "CDE");
    n.double_line = 1;
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    std::vector<PreviewCopy> copies;
    l.ForEachCopy(0, 100, [&](const PreviewCopy& c) { copies.push_back(c); });
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].box_width, 30);
    EXPECT_EQ(copies[0].line_height, 10);
    const std::string text = PreviewLayout::CopyText(*copies[0].segment, 0);
    const auto [l1, l2] = PreviewLayout::SplitLines(text);
    EXPECT_EQ(l1, "AB");
    EXPECT_EQ(l2, "CDE");
}

// The copies met by a window are exactly those a full walk finds there, wherever it lies.
TEST(PreviewLayout, WindowsFindTheCopiesOfAFullWalk) {
    Job job;
    model::SegmentNode& a = job.Add("N\x12");
    SetSerial(a, 'n', "7", "12");
    model::set_repeat(a, 3);
    job.Add("off").enabled = 0;
    model::SegmentNode& b = job.Add("\x16");
    SetSerial(b, 'U', "A", "D");
    b.serial_count = 7;  // alternating tail
    model::SegmentNode& c = job.Add("FIX");
    c.auto_length = 0;
    c.feed_dots = 120;
    model::set_repeat(c, 2);
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    const std::vector<Drawn> all = DrawnCopies(l);
    ASSERT_EQ(all.size(), 18u + 7u + 2u);
    for (std::int64_t x0 = -5; x0 < l.content_width() + 5; x0 += 3) {
        for (const std::int64_t w : {1, 7, 40, 500}) {
            std::vector<Drawn> want;
            for (const Drawn& d : all) {
                const std::int64_t cursor = d.box_left - 4;
                const std::int64_t tick = d.box_left + d.box_width + 4;
                if (cursor < x0 + w && tick >= x0) {
                    want.push_back(d);
                }
            }
            ASSERT_EQ(DrawnCopies(l, x0, x0 + w), want) << x0 << " " << w;
        }
    }
}

// 1000 rows × repeat 100 × 1000 serial values: 10^8 copies, wider than 32 bits, measured once
// per digit count.
TEST(PreviewLayout, HundredMillionCopiesInSixtyFourBits) {
    Job job;
    for (int i = 0; i < 1000; ++i) {
        model::SegmentNode& n = job.Add("L-\x12");
        SetSerial(n, 'n', "0", "999");
        model::set_repeat(n, 100);
    }
    FakeMeasurer m;
    PreviewLayout l;
    l.Build(job.head(), job.settings, 96, m);
    EXPECT_EQ(l.copy_count(), 100'000'000);
    EXPECT_EQ(m.calls, 3000);
    // Per repetition: 10 × 38 + 90 × 48 + 900 × 58 px.
    const std::int64_t per_rep = 10 * 38 + 90 * 48 + 900 * 58;
    EXPECT_EQ(l.content_width(), 10 + 1000 * 100 * per_rep + 10);
    EXPECT_GT(l.content_width(), std::int64_t{1} << 32);
    const std::vector<Drawn> last = DrawnCopies(l, l.content_width() - 30, l.content_width());
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].text, "L-999");
    EXPECT_EQ(last[0].box_left, l.content_width() - 10 - 4 - 50);
}

// The layout keeps its own copy of the job: freeing the records does not touch it.
TEST(PreviewLayout, OutlivesTheRecords) {
    PreviewLayout l;
    FakeMeasurer m;
    {
        Job job;
        job.Add("GONE");
        l.Build(job.head(), job.settings, 96, m);
    }
    const std::vector<Drawn> want{{14, 40, "GONE"}};
    EXPECT_EQ(DrawnCopies(l), want);
}

}  // namespace
}  // namespace qvprt::layout
