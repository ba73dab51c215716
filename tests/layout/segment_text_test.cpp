#include "layout/segment_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "text/gbk.h"

namespace qvprt::layout {
namespace {

constexpr bool kEdit = true;
constexpr bool kPrinter = false;

enum Serial { kNone, kNatural, kPadded, kNaturalAndLower };

struct CompileCase {
    const char* name;
    std::string first, second;
    bool edit_form;
    Serial serial;
    std::string text;  // the expected used bytes
    int double_line;
    int superscripts, subscripts, wide;
    int has_serial;
    bool overlong;
};

const std::string k50(50, 'A');
const std::string k49(49, 'A');

const CompileCase kCases[] = {
    {"two lines", "AB", "CD", kPrinter, kNone,
     "AB\x1a"
     "CD",
     1, 0, 0, 0, 0, false},
    {"empty first line", "", "CD", kEdit, kNone,
     "\x1a"
     "CD",
     1, 0, 0, 0, 0, false},
    {"superscript, printer",
     "X\xaa\xf2"
     "2",
     "", kPrinter, kNone,
     "X\x1c"
     "2",
     0, 1, 0, 0, 0, false},
    {"superscript, edit",
     "X\xaa\xf2"
     "2",
     "", kEdit, kNone,
     "X\xaa\xf2"
     "2",
     0, 1, 0, 1, 0, false},
    {"subscript on line 2, printer", "A",
     "B\xaa\xf3"
     "2",
     kPrinter, kNone,
     "A\x1a"
     "B\x1e"
     "2",
     1, 0, 1, 0, 0, false},
    {"serial, printer",
     "A\xa1\xed"
     "B",
     "", kPrinter, kPadded,
     "A\x14"
     "B",
     0, 0, 0, 0, 1, false},
    {"serial, edit",
     "A\xa1\xed"
     "B",
     "", kEdit, kPadded,
     "A\x14"
     "B",
     0, 0, 0, 0, 1, false},
    {"serial without mark is switched off", "AB", "", kEdit, kPadded, "AB", 0, 0, 0, 0, 0, false},
    {"only the first mark",
     "\xa1\xed"
     "1\xa1\xed",
     "", kPrinter, kNatural,
     "\x12"
     "1\xa1\xed",
     0, 0, 0, 1, 1, false},
    {"types in their order", "\xa1\xed-\xa1\xed", "", kPrinter, kNaturalAndLower, "\x12-\x18", 0, 0,
     0, 0, 1, false},
    {"mark without serial stays", "\xa1\xed", "", kPrinter, kNone, "\xa1\xed", 0, 0, 0, 1, 0,
     false},
    {"punctuation",
     "\xa3\xa8"
     "1\xa3\xa9\xa1\xa2"
     "2",
     "", kEdit, kNone, "(1)2", 0, 0, 0, 0, 0, false},
    {"symbol, printer", "\xaa\xb5", "", kPrinter, kNone, "\xa1\xb5", 0, 0, 0, 1, 0, false},
    {"symbol, edit", "\xaa\xb5", "", kEdit, kNone, "\xaa\xb5", 0, 0, 0, 1, 0, false},
    // The printer-form scan goes by characters: № does not swallow the symbol after it...
    {"plain mark then symbol", "\xa1\xed\xaa\xb5", "", kPrinter, kNone, "\xa1\xed\xa1\xb5", 0, 0, 0,
     2, 0, false},
    // ...and a second byte AA followed by a lead byte in A1..ED is no symbol.
    {"second byte AA", "\x81\xaa\xb1\xb1", "", kPrinter, kNone, "\x81\xaa\xb1\xb1", 0, 0, 0, 1, 0,
     false},
    // 场北 holds the bytes of ” between its characters.
    {"no match across characters", "\xb3\xa1\xb1\xb1", "", kPrinter, kNone, "\xb3\xa1\xb1\xb1", 0,
     0, 0, 2, 0, false},
    // — is A1 AA: with F2 A1 after it, the bytes AA F2 are no superscript mark.
    {"dash before F2", "\xa1\xaa\xf2\xa1", "", kPrinter, kNone, "-\xf2\xa1", 0, 0, 0, 1, 0, false},
    // The bytes A1 ED across 场 and the next character are no serial mark.
    {"no serial mark across characters", "\xb3\xa1\xed\xa1", "", kPrinter, kNatural,
     "\xb3\xa1\xed\xa1", 0, 0, 0, 2, 0, false},
    {"50 bytes stay whole", k50, "", kPrinter, kNone, k50, 0, 0, 0, 0, 0, true},
    {"51 bytes are cut", k50 + "B", "", kPrinter, kNone, k50, 0, 0, 0, 0, 0, true},
    {"line break cut off", k50, "X", kPrinter, kNone, k50, 0, 0, 0, 0, 0, true},
    {"line break as byte 50", k49, "X", kPrinter, kNone, k49 + "\x1a", 1, 0, 0, 0, 0, true},
    {"cut before a character", k49 + "\xd6\xd0", "", kPrinter, kNone, k49, 0, 0, 0, 0, 0, true},
    // Marks are counted in what the cut keeps.
    {"superscript cut off, printer", k50 + "\xaa\xf2", "", kPrinter, kNone, k50, 0, 0, 0, 0, 0,
     true},
    {"superscript as byte 50, printer", k49 + "\xaa\xf2X", "", kPrinter, kNone, k49 + "\x1c", 0, 1,
     0, 0, 0, true},
    {"superscript cut off, edit", k49 + "\xaa\xf2", "", kEdit, kNone, k49, 0, 0, 0, 0, 0, true},
    {"subscript on a second line cut off", k49, "\xaa\xf3", kPrinter, kNone, k49 + "\x1a", 1, 0, 0,
     0, 0, true},
};

TEST(CompileSegmentText, Cases) {
    for (const CompileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        model::SegmentNode r;
        // Leftovers of an earlier text must not survive.
        r.text.fill('Z');
        r.text_length = 50;
        r.double_line = 1;
        r.superscript_count = r.subscript_count = r.script_count = 9;
        r.serial_natural = c.serial == kNatural || c.serial == kNaturalAndLower;
        r.serial_padded = c.serial == kPadded;
        r.serial_lower = c.serial == kNaturalAndLower;
        r.has_serial = c.serial != kNone;

        EXPECT_EQ(compile_segment_text(r, c.first, c.second, c.edit_form), c.overlong);
        EXPECT_EQ(std::string(r.text.data(), r.text_length), c.text);
        for (std::size_t i = r.text_length; i < r.text.size(); ++i) {
            ASSERT_EQ(r.text[i], 0) << i;
        }
        EXPECT_EQ(r.double_line, c.double_line);
        EXPECT_EQ(r.superscript_count, c.superscripts);
        EXPECT_EQ(r.subscript_count, c.subscripts);
        EXPECT_EQ(r.script_count, c.superscripts + c.subscripts);
        EXPECT_EQ(r.wide_char_count, c.wide);
        EXPECT_EQ(r.has_serial, c.has_serial);
        if (c.has_serial == 0) {
            EXPECT_EQ(r.serial_natural + r.serial_padded + r.serial_upper + r.serial_lower, 0);
        }
    }
}

TEST(PunctuationTable, PairsInOrder) {
    struct Pair {
        const char* utf8;
        const char* by;
    };
    const Pair expected[] = {
        {"【", "["}, {"】", "]"}, {"（", "("}, {"）", ")"}, {"；", ";"}, {"：", ":"},
        {"。", "."}, {"，", ","}, {"、", ""},  {"？", "?"}, {"！", "!"}, {"《", "<"},
        {"》", ">"}, {"￥", "$"}, {"…", ".."}, {"—", "-"},  {"·", "`"},  {"“", "\""},
        {"”", "\""}, {"‘", "'"},  {"’", "'"},  {"＃", "#"}, {"＆", "&"}, {"＠", "@"},
    };
    ASSERT_EQ(std::size(expected), punctuation_table.size());
    std::string all;
    for (std::size_t i = 0; i < punctuation_table.size(); ++i) {
        SCOPED_TRACE(expected[i].utf8);
        const auto gbk = text::utf8_to_gbk(expected[i].utf8);
        ASSERT_TRUE(gbk.ok);
        EXPECT_EQ(punctuation_table[i].replaced, gbk.bytes);
        EXPECT_EQ(punctuation_table[i].by, expected[i].by);
        all += gbk.bytes;
    }
    replace_punctuation(all);
    EXPECT_EQ(all, "[]();:.,?!<>$..-`\"\"''#&@");
}

TEST(CountMarks, CountsAtCharacterBoundariesAndFindsTheLast) {
    struct Case {
        std::string cell;
        int count;
        std::size_t last;
    };
    const Case cases[] = {
        {"X", 0, std::string_view::npos},
        {"X\xaa\xf2", 1, 1},
        {"\xaa\xf2"
         "A\xaa\xf2"
         "B",
         2, 3},
        {"\xa1\xaa\xf2\xa1", 0, std::string_view::npos},  // — then a character led by F2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        const MarkCount m = count_marks(c.cell, model::MARK_SUPERSCRIPT);
        EXPECT_EQ(m.count, c.count);
        EXPECT_EQ(m.last, c.last);
    }
}

}  // namespace
}  // namespace qvprt::layout
