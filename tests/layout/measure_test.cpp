#include "layout/measure.h"

#include <gtest/gtest.h>

#include <string>

#include "layout/segment_text.h"
#include "text/bytes.h"

namespace qvprt::layout {
namespace {

constexpr std::array<char, 2> kHorizontal{'0', '4'};
constexpr std::array<char, 2> kVertical{'1', '3'};

void set_text(model::SegmentNode& r, std::string_view bytes) {
    text::copy_field(r.text, bytes);
    r.text_length = static_cast<std::uint8_t>(bytes.size());
}

struct MeasureCase {
    const char* name;
    std::string text;
    int double_line, scripts, wide;
    int font_size, char_scale;
    std::array<char, 2> direction;
    int spacing;
    const char* serial_start;  // nullptr: no serial
    const char* serial_end;
    int content, content2;
};

TEST(MeasureSegment, LineWidths) {
    const MeasureCase cases[] = {
        {"ABC", "ABC", 0, 0, 0, 3, 0, kHorizontal, 2, nullptr, nullptr, 100, -1},
        {"ABC vertical at 50%", "ABC", 0, 0, 0, 3, 1, kVertical, 2, nullptr, nullptr, 100, -1},
        {"ABC horizontal at 50%", "ABC", 0, 0, 0, 3, 1, kHorizontal, 2, nullptr, nullptr, 52, -1},
        {"two wide", "\xd6\xd0\xce\xc4", 0, 0, 2, 1, 0, kHorizontal, 0, nullptr, nullptr, 48, -1},
        {"pair",
         "X\x1c"
         "2",
         0, 1, 0, 5, 0, kHorizontal, 0, nullptr, nullptr, 75, -1},
        {"pair vertical",
         "X\x1c"
         "2",
         0, 1, 0, 5, 0, kVertical, 0, nullptr, nullptr, 96, -1},
        {"only a pair",
         "\x1c"
         "2",
         0, 1, 0, 1, 0, kHorizontal, 0, nullptr, nullptr, 0, -1},
        {"double line",
         "\xd6\xd0X\x1c"
         "2\x1a"
         "AB",
         1, 1, 1, 3, 0, kHorizontal, 1, nullptr, nullptr, 81, 65},
        {"double line vertical",
         "\xd6\xd0X\x1c"
         "2\x1a"
         "AB",
         1, 1, 1, 3, 0, kVertical, 1, nullptr, nullptr, 98, 65},
        {"empty first line",
         "\x1a"
         "AB",
         1, 0, 0, 1, 0, kHorizontal, 0, nullptr, nullptr, 0, 32},
        // 1 to 100 prints three characters in place of the one code byte.
        {"serial", "A\x12", 0, 0, 0, 1, 0, kHorizontal, 0, "1", "100", 64, -1},
        {"serial on line 1",
         "A\x12\x1a"
         "BC",
         1, 0, 0, 1, 0, kHorizontal, 0, "1", "100", 64, 32},
        {"serial on line 2",
         "A\x1a"
         "B\x12",
         1, 0, 0, 1, 0, kHorizontal, 0, "1", "100", 16, 64},
        {"external font library", "AB", 0, 0, 0, 5, 2, kVertical, 0, nullptr, nullptr, 144, -1},
    };
    const model::JobSettings defaults;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model::SegmentNode r;
        set_text(r, c.text);
        r.double_line = static_cast<std::uint8_t>(c.double_line);
        r.script_count = static_cast<std::uint8_t>(c.scripts);
        r.wide_char_count = static_cast<std::uint8_t>(c.wide);
        r.font_size = static_cast<std::uint8_t>(c.font_size);
        r.char_scale = static_cast<std::uint8_t>(c.char_scale);
        r.direction = c.direction;
        r.content_dots2 = 999;
        if (c.serial_start != nullptr) {
            r.has_serial = 1;
            text::copy_field(r.serial_start, c.serial_start);
            text::copy_field(r.serial_end, c.serial_end);
        }
        model::JobSettings s = defaults;
        s.spacing = c.spacing;
        MeasureSegment(r, s);
        EXPECT_EQ(r.content_dots, c.content);
        // A single-line segment keeps its old second width.
        EXPECT_EQ(r.content_dots2, c.content2 < 0 ? 999 : c.content2);
    }
}

TEST(MeasureSegment, LengthFeedAndCount) {
    model::JobSettings s;
    s.spacing = 2;
    model::SegmentNode r;
    set_text(r, "ABC");
    r.font_size = 3;
    r.length_dots = 240;
    MeasureSegment(r, s);
    // A fixed length stays; the feed follows it.
    EXPECT_EQ(r.length_dots, 240);
    EXPECT_EQ(r.feed_dots, 240);
    EXPECT_EQ(r.total_count, 1);

    r.auto_length = 1;
    set_repeat(r, 2);
    r.has_serial = 1;
    text::copy_field(r.serial_start, "1");
    text::copy_field(r.serial_end, "100");
    MeasureSegment(r, s);
    // The serial code is not in this text, but the serial still widens it by two characters.
    EXPECT_EQ(r.content_dots, 5 * 32 + 4 * 2);
    EXPECT_EQ(r.length_dots, 48 + 168);
    EXPECT_EQ(r.feed_dots, r.length_dots);
    EXPECT_EQ(r.total_count, 200);

    // Without the serial the text measures as written; a stale serial width adds nothing.
    r.has_serial = 0;
    MeasureSegment(r, s);
    EXPECT_EQ(r.content_dots, 100);
    EXPECT_EQ(r.length_dots, 148);
    EXPECT_EQ(r.total_count, 2);
    EXPECT_EQ(r.serial_width, 3);

    // An empty text changes nothing, the automatic length included.
    r.content_dots = 7;
    set_text(r, "");
    MeasureSegment(r, s);
    EXPECT_EQ(r.content_dots, 7);
    EXPECT_EQ(r.length_dots, 148);

    // Only a file holds such a repeat and range: the product wraps at 16 bits, as the field does.
    set_text(r, "A");
    r.has_serial = 1;
    r.repeat = 65535;
    text::copy_field(r.serial_start, "0");
    text::copy_field(r.serial_end, "-2");
    MeasureSegment(r, s);
    EXPECT_EQ(r.serial_count, 65535);
    EXPECT_EQ(r.total_count, 1);
}

TEST(MeasureSegment, SerialRange) {
    struct Case {
        const char* start;
        const char* end;
        int width, count;
    };
    const Case cases[] = {
        {"1", "100", 3, 100}, {"100", "1", 3, 100}, {"a", "c", 1, 3},
        {"7", "12", 2, 6},    {"5", "5", 1, 1},     {"", "", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + ".." + c.end);
        model::SegmentNode r;
        text::copy_field(r.serial_start, c.start);
        text::copy_field(r.serial_end, c.end);
        ComputeSerialRange(r);
        EXPECT_EQ(r.serial_width, c.width);
        EXPECT_EQ(r.serial_count, c.count);
    }
    // All four bytes used, no terminating zero: read no further than the field.
    model::SegmentNode r;
    r.serial_start = {'1', '2', '3', '4'};
    text::copy_field(r.serial_end, "1");
    ComputeSerialRange(r);
    EXPECT_EQ(r.serial_width, 4);
    EXPECT_EQ(r.serial_count, 1234);
}

TEST(ParseSignedDecimal, SixteenBitAndNoDigitCheck) {
    struct Case {
        std::string text;
        int value;
    };
    const Case cases[] = {
        {"0", 0},
        {"100", 100},
        {"007", 7},
        {"a", 49},
        {"z", 74},
        {"A", 17},
        {"", 0},
        {"-5", 65531},
        {"70000", 4464},
        {std::string("12\0"
                     "9",
                     4),
         12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseSignedDecimal(c.text), c.value);
    }
}

// Fixed 20 mm: 240 dots, so the widest line may take 192.
TEST(SegmentOverflows, MarginOf48Dots) {
    struct Case {
        const char* name;
        std::string text;
        int double_line, wide, font_size, spacing, auto_length;
        bool overflows;
    };
    const Case cases[] = {
        {"192 dots", "ABCDEFGHIJKL", 0, 0, 1, 0, 0, false},
        {"193 dots", std::string(23, 'A') + "\xd6\xd0", 0, 1, 0, 2, 0, true},
        {"second line is the widest", "A\x1a" + std::string(13, 'B'), 1, 0, 1, 0, 0, true},
        {"automatic length", std::string(13, 'B'), 0, 0, 1, 0, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model::JobSettings s;
        s.spacing = c.spacing;
        model::SegmentNode r;
        set_text(r, c.text);
        r.double_line = static_cast<std::uint8_t>(c.double_line);
        r.wide_char_count = static_cast<std::uint8_t>(c.wide);
        r.font_size = static_cast<std::uint8_t>(c.font_size);
        r.auto_length = static_cast<std::uint8_t>(c.auto_length);
        r.length_dots = 240;
        EXPECT_EQ(SegmentOverflows(r, s), c.overflows);
    }
}

TEST(SegmentOverflows, EmptyTextFitsWhateverWasMeasuredBefore) {
    // A refused commit leaves the widths of the refused text; clearing the cell must be accepted.
    model::JobSettings s;
    model::SegmentNode r;
    set_text(r, std::string(20, 'W'));
    r.font_size = 3;
    r.length_dots = 72;
    ASSERT_TRUE(SegmentOverflows(r, s));
    set_text(r, "");
    EXPECT_FALSE(SegmentOverflows(r, s));
}

// Counters left by the previous text, as a cell commit leaves them: differences that fall below
// zero count as zero instead of wrapping.
TEST(MeasureSegment, StaleCountersNeverWrap) {
    model::JobSettings s;
    model::SegmentNode r;
    r.font_size = 1;
    r.length_dots = 240;
    ASSERT_FALSE(
        compile_segment_text(r, "\xd6\xd0\xce\xc4\xd6\xd0\xce\xc4", "", false));  // 中文中文
    ASSERT_EQ(r.wide_char_count, 4);
    ASSERT_FALSE(SegmentOverflows(r, s));
    EXPECT_EQ(r.content_dots, 96);

    // The commit stores the new text without recounting.
    set_text(r, "AB");
    EXPECT_FALSE(SegmentOverflows(r, s));
    EXPECT_LE(r.content_dots, 96);
    r.auto_length = 1;
    MeasureSegment(r, s);
    EXPECT_EQ(r.length_dots, 48 + r.content_dots);

    // A second line whose wide count went stale: line 2 is just AB.
    r.auto_length = 0;
    set_text(r,
             "\xd6\xd0\xce\xc4\x1a"
             "AB");
    r.double_line = 1;
    r.wide_char_count = 1;
    EXPECT_FALSE(SegmentOverflows(r, s));
    EXPECT_EQ(r.content_dots, 48);
    EXPECT_EQ(r.content_dots2, 32);

    // Edit form: a superscript mark as the last bytes, counted as a mark and as a wide character.
    set_text(r, "X\xaa\xf2");
    r.double_line = 0;
    r.script_count = 1;
    r.wide_char_count = 1;
    EXPECT_FALSE(SegmentOverflows(r, s));
    EXPECT_EQ(r.content_dots, 24 + 6);

    // A serial without a range: the serial allowance itself is -1.
    set_text(r, "\x12");
    r.script_count = 0;
    r.wide_char_count = 0;
    r.has_serial = 1;
    r.serial_start = {};
    r.serial_end = {};
    EXPECT_FALSE(SegmentOverflows(r, s));
    EXPECT_EQ(r.content_dots, 0);
}

TEST(MeasureSegment, OutOfRangeAttributesStayInTheTables) {
    model::JobSettings s;
    s.spacing = 99;
    model::SegmentNode r;
    set_text(r, "AB");
    r.font_size = 200;
    r.char_scale = 9;
    r.direction = {'7', '7'};
    r.double_line = 1;  // no line break in the text
    r.text_length = 255;
    MeasureSegment(r, s);
    EXPECT_GT(r.content_dots, 0);
}

struct FitCase {
    const char* name;
    std::string text;
    int material, param;
    int length_dots;
    int start_size;
    int end_size;
    bool too_long;
};

TEST(AutoFitFontSize, Walks) {
    // ABC: 48, 72, 96, 120, 144, 192 dots at sizes 1 to 6, 18 at size 0.
    const FitCase cases[] = {
        {"grows to the largest that fits", "ABC", 0, 0, 180, 2, 4, false},
        {"at or above the largest size", "ABC", 0, 0, 240, 6, 6, false},
        {"grows up to the material's largest", "ABC", 0, 0, 400, 1, 5, false},
        {"shrinks to the largest that fits", "ABC", 1, 0, 144, 6, 3, false},
        {"too long even at size 1", "ABCDEFGHIJ", 1, 0, 72, 3, 3, true},
        {"too long at size 0", "ABCDEFGHIJ", 1, 0, 72, 0, 0, true},
        {"from 0 at least size 1", "ABC", 1, 0, 72, 0, 1, false},
        {"from 0 to 6", "ABC", 1, 0, 240, 0, 6, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model::JobSettings s;
        s.material_index = c.material;
        s.material_param_index = c.param;
        model::SegmentNode r;
        set_text(r, c.text);
        r.length_dots = static_cast<std::uint16_t>(c.length_dots);
        r.font_size = static_cast<std::uint8_t>(c.start_size);
        EXPECT_EQ(AutoFitFontSize(r, s), c.too_long);
        EXPECT_EQ(r.font_size, c.end_size);
    }
}

TEST(MaxFontSize, ByMaterialAndParameter) {
    model::JobSettings s;
    s.material_index = 0;
    s.material_param_index = 0;
    EXPECT_EQ(max_font_size(s), 5);
    s.material_param_index = 1;
    EXPECT_EQ(max_font_size(s), 6);
    s.material_index = 7;
    EXPECT_EQ(max_font_size(s), 6);
}

}  // namespace
}  // namespace qvprt::layout
