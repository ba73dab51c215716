#include <gtest/gtest.h>

#include <filesystem>

#include "editor_access.h"
#include "fake_ports.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

using model::SegmentNode;
using testing::EditorFixture;

constexpr std::string_view kSup = "\xAA\xF2";
constexpr std::string_view kSub = "\xAA\xF3";
constexpr std::string_view kSerial = "\xA1\xED";  // №

std::string Gbk(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    return std::string(a) + std::string(b) + std::string(c);
}

// The user is in `column` of row 0 holding `first` and `second`, and presses the buttons in turn.
struct MarkCase {
    const char* name;
    std::string first, second;
    int column;
    std::vector<bool> presses;  // true: 上标, false: 下标
    std::string want_first, want_second;
    int superscripts, subscripts;
    std::vector<std::string> messages;
};

TEST(MarksTest, AppendedAtTheEndOfTheTextCell) {
    const std::string forty_nine(49, 'a');
    const std::string fifty(50, 'a');
    // 啊 B0AA then 虿 F2B0: the bytes AA F2 straddle two characters and are no mark.
    const std::string straddling = "\xB0\xAA\xF2\xB0";
    const MarkCase cases[] = {
        {"once", "X", "", COL_TEXT, {true}, Gbk("X", kSup), "", 1, 0, {}},
        {"never twice in a row", "X", "", COL_TEXT, {true, true}, Gbk("X", kSup), "", 1, 0, {}},
        {"subscript after superscript",
         "X",
         "",
         COL_TEXT,
         {true, false},
         Gbk("X", kSup, kSub),
         "",
         1,
         1,
         {}},
        {"repeat column means the text cell",
         "X",
         "",
         COL_REPEAT,
         {false},
         Gbk("X", kSub),
         "",
         0,
         1,
         {}},
        {"second line", "X", "Y", COL_TEXT2, {true}, "X", Gbk("Y", kSup), 1, 0, {}},
        {"49 bytes take the mark, the commit refuses the text",
         forty_nine,
         "",
         COL_TEXT,
         {true},
         Gbk(forty_nine, kSup),
         "",
         1,
         0,
         {"输入内容超长！"}},
        {"50 bytes refuse it", fifty, "", COL_TEXT, {true}, fifty, "", 0, 0, {"本段内容超长！"}},
        {"marks counted on character boundaries",
         straddling,
         "",
         COL_TEXT,
         {true},
         Gbk(straddling, kSup),
         "",
         1,
         0,
         {}},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        testing::Current(f.editor)->auto_length = 1;
        testing::Grid(f.editor).SetCellText(0, COL_TEXT, c.first);
        testing::Grid(f.editor).SetCellText(0, COL_TEXT2, c.second);
        testing::Grid(f.editor).SetCurrentColumn(c.column);
        for (bool sup : c.presses) {
            sup ? f.editor.OnSuperscript() : f.editor.OnSubscript();
            EXPECT_GE(f.view.commits, 1);  // an open cell editor commits first
            // The commit runs after the command, as a posted message does.
            f.view.RunPosted();
        }
        EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT), c.want_first);
        EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT2), c.want_second);
        const SegmentNode& n = *testing::Current(f.editor);
        EXPECT_EQ(n.superscript_count, c.superscripts);
        EXPECT_EQ(n.subscript_count, c.subscripts);
        EXPECT_EQ(n.script_count, c.superscripts + c.subscripts);
        EXPECT_EQ(f.prompts.Texts(), c.messages);
    }
}

TEST(MarksTest, TheCommitIsPostedNotRun) {
    EditorFixture f;
    testing::Current(f.editor)->auto_length = 1;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "X");
    testing::Grid(f.editor).SetCurrentColumn(COL_TEXT);
    f.editor.OnSuperscript();
    EXPECT_EQ(testing::Current(f.editor)->text_length, 0);  // not yet stored
    ASSERT_EQ(f.view.posted.size(), 1u);
    f.view.RunPosted();
    EXPECT_EQ(std::string(testing::Current(f.editor)->text.data(),
                          testing::Current(f.editor)->text_length),
              Gbk("X", kSup));
}

TEST(MarksTest, SecondLineOfALabelWithALargeFixedFont) {
    EditorFixture f;
    f.editor.OnMaterialChanged(1);  // 标签
    SegmentNode& n = *testing::Current(f.editor);
    n.auto_font = 0;
    n.font_size = 4;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "X");
    testing::Grid(f.editor).SetCurrentColumn(COL_TEXT2);
    f.editor.OnSuperscript();
    f.view.RunPosted();
    EXPECT_EQ(f.prompts.Texts(),
              (std::vector<std::string>{"字体太大，不适合双行，请先选择1-3号字体！"}));
    EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT2), "");
    EXPECT_EQ(n.superscript_count, 0);
}

SerialChoice Choice(SerialType type, const char* start, const char* end) {
    return std::get<SerialChoice>(AcceptSerial(type, start, end));
}

struct SerialCase {
    const char* name;
    SerialChoice chosen;
    std::string first, second;
    int column, repeat;
    std::string want_first, want_second;
    const char* start;
    const char* end;
    int width, count, total;
};

TEST(SerialNumbersTest, RangeAndMark) {
    const SerialCase cases[] = {
        {"natural 007 to 12", Choice(SerialType::Natural, "007", "12"), "A", "", COL_TEXT, 1,
         Gbk("A", kSerial), "", "7", "12", 2, 6, 6},
        {"padded 1 to 12 as typed", Choice(SerialType::Padded, "1", "12"), "A", "", COL_TEXT, 1,
         Gbk("A", kSerial), "", "1", "12", 2, 12, 12},
        {"descending 10 to 8", Choice(SerialType::Natural, "10", "8"), "A", "", COL_TEXT, 1,
         Gbk("A", kSerial), "", "10", "8", 2, 3, 3},
        {"letters a to c, repeat 2", Choice(SerialType::Lower, "a", "c"), "A", "", COL_TEXT, 2,
         Gbk("A", kSerial), "", "a", "c", 1, 3, 6},
        {"cursor in column 5", Choice(SerialType::Upper, "A", "E"), "A", "", COL_REPEAT, 1,
         Gbk("A", kSerial), "", "A", "E", 1, 5, 5},
        {"second line", Choice(SerialType::Natural, "1", "3"), "A", "B", COL_TEXT2, 1, "A",
         Gbk("B", kSerial), "1", "3", 1, 3, 3},
        {"a mark in the second cell already", Choice(SerialType::Natural, "1", "3"), "",
         Gbk(kSerial, "B"), COL_TEXT, 1, "", Gbk(kSerial, "B"), "1", "3", 1, 3, 3},
    };
    for (const SerialCase& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        SegmentNode& n = *testing::Current(f.editor);
        n.auto_length = 1;
        model::set_repeat(n, c.repeat);
        testing::Grid(f.editor).SetCellText(0, COL_TEXT, c.first);
        testing::Grid(f.editor).SetCellText(0, COL_TEXT2, c.second);
        testing::Grid(f.editor).SetCurrentColumn(c.column);
        f.prompts.serials.push_back(c.chosen);
        f.editor.OnSerialNumbers();
        EXPECT_TRUE(f.view.posted.empty());  // no commit of its own
        EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT), c.want_first);
        EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT2), c.want_second);
        EXPECT_EQ(n.has_serial, 1);
        EXPECT_EQ(text::field_text(n.serial_start), c.start);
        EXPECT_EQ(text::field_text(n.serial_end), c.end);
        f.editor.CompileSegments(true);
        EXPECT_EQ(n.serial_width, c.width);
        EXPECT_EQ(n.serial_count, c.count);
        EXPECT_EQ(n.total_count, c.total);
        EXPECT_TRUE(f.prompts.messages.empty());
    }
}

TEST(SerialNumbersTest, RefusalsAndCancel) {
    {
        EditorFixture f;
        testing::Grid(f.editor).SetCellText(0, COL_TEXT, std::string(50, 'a'));
        f.prompts.serials.push_back(Choice(SerialType::Natural, "1", "3"));
        f.editor.OnSerialNumbers();
        EXPECT_EQ(f.prompts.Texts(), (std::vector<std::string>{"本段内容超长！"}));
        EXPECT_EQ(testing::Current(f.editor)->has_serial, 0);
        EXPECT_EQ(text::field_text(testing::Current(f.editor)->serial_start), "");
        EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT), std::string(50, 'a'));
    }
    {
        EditorFixture f;
        testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A");
        f.prompts.serials.push_back(std::nullopt);
        f.editor.OnSerialNumbers();
        EXPECT_EQ(testing::Current(f.editor)->has_serial, 0);
        EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT), "A");
        EXPECT_TRUE(f.prompts.messages.empty());
    }
}

TEST(SerialNumbersTest, ReopeningShowsTheStoredRangeAndANewRangeKeepsOneMark) {
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A");
    const SerialChoice first = Choice(SerialType::Padded, "5", "9");
    f.prompts.serials.push_back(first);
    f.editor.OnSerialNumbers();
    const SerialChoice second = Choice(SerialType::Upper, "B", "D");
    f.prompts.serials.push_back(second);
    f.editor.OnSerialNumbers();
    ASSERT_EQ(f.prompts.serial_shown.size(), 2u);
    EXPECT_EQ(f.prompts.serial_shown[1], first);
    EXPECT_EQ(testing::Grid(f.editor).GetItemText(0, COL_TEXT), Gbk("A", kSerial));
    EXPECT_EQ(testing::Current(f.editor)->serial_upper, 1);
    EXPECT_EQ(testing::Current(f.editor)->serial_padded, 0);
}

// The serial segment as the printer receives it: the mark became the type's code, the record
// carries the range (record from byte 9: has_serial at 1, the type flags at 2..5, text_length at
// 37, serial_start at 47, serial_end at 51, the text at 55).
TEST(SerialNumbersTest, PrintedRecord) {
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A");
    f.prompts.serials.push_back(Choice(SerialType::Natural, "007", "12"));
    f.editor.OnSerialNumbers();
    f.editor.OnPrint();
    ASSERT_EQ(f.printer.jobs().size(), 1u);
    const std::vector<std::uint8_t>& job = f.printer.jobs()[0];
    ASSERT_EQ(job.size(), 9u + 55 + 2 + 1);
    const std::uint8_t* r = job.data() + 9;
    EXPECT_EQ(r[1], 1);
    EXPECT_EQ((std::vector<int>{r[2], r[3], r[4], r[5]}), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(r[37], 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r + 47), 4), std::string("7\0\0\0", 4));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r + 51), 4), std::string("12\0\0", 4));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r + 55), 2), "A\x12");
}

// Saved and opened again, the segment shows its mark and keeps its range.
TEST(SerialNumbersTest, ProjectFileRoundTrip) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("qvprt-serial-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".qvk");
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A");
    f.prompts.serials.push_back(Choice(SerialType::Lower, "b", "d"));
    f.editor.OnSerialNumbers();
    f.prompts.files.push_back(path.string());
    f.editor.SaveProjectFile();
    ASSERT_EQ(f.editor.last_outcome(), Outcome::Done);

    EditorFixture g;
    g.prompts.files.push_back(path.string());
    g.editor.OpenFile();
    std::filesystem::remove(path);
    ASSERT_EQ(g.editor.last_outcome(), Outcome::Done);
    EXPECT_EQ(testing::Grid(g.editor).GetItemText(0, COL_TEXT), Gbk("A", kSerial));
    const SegmentNode& n = *testing::Current(g.editor);
    EXPECT_EQ(n.has_serial, 1);
    EXPECT_EQ(n.serial_lower, 1);
    EXPECT_EQ(text::field_text(n.serial_start), "b");
    EXPECT_EQ(text::field_text(n.serial_end), "d");
}

}  // namespace
}  // namespace qvprt::editor
