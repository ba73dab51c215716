#include <gtest/gtest.h>

#include "fake_ports.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

using model::SegmentNode;
using testing::EditorFixture;

class CommitTest : public ::testing::Test, public EditorFixture {
  protected:
    SegmentNode& Record(int i) { return *testing::Records(editor).at(i); }
    // What the grid does on a commit: the row is clicked, the ended edit hands its text over.
    int Type(int row, int column, const std::string& text, bool enter = false) {
        editor.OnRowClicked(row, column);
        return editor.CommitCell(row, column, text, enter);
    }
    std::string Text(int i) { return std::string(Record(i).text.data(), Record(i).text_length); }
    void FixedFont(int i, int size) {
        Record(i).auto_font = 0;
        Record(i).font_size = static_cast<std::uint8_t>(size);
    }
};

TEST_F(CommitTest, RepeatCell) {
    struct Case {
        const char* typed;
        bool accepted;
        int repeat;
        const char* repeat4;
    };
    const Case cases[] = {{"0", false, 7, "0007"},
                          {"101", false, 7, "0007"},
                          {"", false, 7, "0007"},
                          {"100", true, 100, "0100"},
                          {"12abc", true, 12, "0012"}};
    for (const Case& c : cases) {
        EditorFixture f;
        model::set_repeat(*testing::Current(f.editor), 7);
        EXPECT_EQ(f.editor.CommitCell(0, COL_REPEAT, c.typed, false), 0);
        EXPECT_EQ(f.editor.current_segment()->repeat, c.repeat) << c.typed;
        EXPECT_EQ(text::field_text(f.editor.current_segment()->repeat_text4), c.repeat4);
        if (!c.accepted) {
            ASSERT_EQ(f.prompts.messages.size(), 1u);
            EXPECT_EQ(f.prompts.messages[0], (testing::Shown{"重复次数应在[1-100]之间，设置无效！",
                                                             "Prompt", MessageIcon::None}));
            EXPECT_EQ(f.Cell(0, COL_REPEAT), "7");
        }
    }
}

TEST_F(CommitTest, JoinedTextOfFiftyBytesAtMost) {
    testing::Current(editor)->auto_length = 1;
    testing::Grid(editor).SetCellText(0, COL_TEXT, std::string(30, 'a'));
    EXPECT_EQ(Type(0, COL_TEXT2, std::string(20, 'b')), 0);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"输入内容超长！"}));
    EXPECT_EQ(Record(0).text_length, 0);
    EXPECT_EQ(Cell(0, COL_TEXT2), std::string(20, 'b'));  // the cell keeps what was typed
    prompts.messages.clear();
    Type(0, COL_TEXT2, std::string(19, 'b'));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Text(0), std::string(30, 'a') + "\x1a" + std::string(19, 'b'));
    EXPECT_EQ(Record(0).double_line, 1);
}

TEST_F(CommitTest, TextTooWideForAFixedLengthIsUndone) {
    // 6 mm is 72 dots: 24 dots of text at most.
    Record(0).length_dots = Record(0).feed_dots = 72;
    FixedFont(0, 2);
    Type(0, COL_TEXT, "A");  // 24 dots
    EXPECT_TRUE(prompts.messages.empty());
    Type(0, COL_TEXT, "AB");  // 24 * 2 = 48
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"输入内容超长！"}));
    EXPECT_EQ(Text(0), "A");
    EXPECT_EQ(Record(0).double_line, 0);
    EXPECT_EQ(Cell(0, COL_TEXT), "A");
    EXPECT_EQ(Cell(0, COL_TEXT2), "");
}

// After a print the record holds the printer form: the cells shown again after a refusal carry
// the marks, not the codes, so that the next compilation still finds the serial and the script.
TEST_F(CommitTest, UndoneTextShowsMarksNotPrinterCodes) {
    SegmentNode& n = Record(0);
    n.has_serial = n.serial_padded = 1;
    FixedFont(0, 2);
    const std::string cell =
        "A\xa1\xed\xaa\xf2"
        "2";  // A, the serial mark, superscript 2
    testing::Grid(editor).SetCellText(0, COL_TEXT, cell);
    editor.CompileSegments(false);
    ASSERT_EQ(Text(0),
              "A\x14\x1c"
              "2");
    Type(0, COL_TEXT, std::string(12, 'X'));  // too wide for 240 - 48 dots at size 2
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"输入内容超长！"}));
    EXPECT_EQ(editor.grid().GetItemText(0, COL_TEXT), cell);
    editor.CompileSegments(true);
    EXPECT_EQ(n.has_serial, 1);
    EXPECT_EQ(n.serial_padded, 1);
    EXPECT_EQ(n.superscript_count, 1);
}

TEST_F(CommitTest, AutomaticSizeShrinksBeforeRefusing) {
    // Automatic size, 20 mm fixed: 192 dots of text at most.
    Type(0, COL_TEXT, "ABC");
    EXPECT_EQ(Record(0).font_size, 6);
    Type(0, COL_TEXT, "ABCDEFGH");  // 8 x 24 = 192 at size 2
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Record(0).font_size, 2);
    Type(0, COL_TEXT, std::string(13, 'X'));  // 13 x 16 = 208 even at size 1
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"输入内容超长！"}));
    EXPECT_EQ(Text(0), "ABCDEFGH");
    EXPECT_EQ(Record(0).font_size, 2);
}

TEST_F(CommitTest, AutomaticLengthAcceptsEveryText) {
    Record(0).auto_length = 1;
    FixedFont(0, 6);
    Type(0, COL_TEXT, std::string(50, 'W'));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Record(0).text_length, 50);
}

TEST_F(CommitTest, EnterMovesOn) {
    struct Case {
        std::vector<int> later_sizes;  // fixed font sizes of rows 2.. (0: automatic)
        int column;
        std::pair<int, int> opened;
    };
    const Case cases[] = {
        {{5, 5, 2}, COL_TEXT2, {4, COL_TEXT2}},
        {{5, 0, 6}, COL_TEXT2, {2, COL_TEXT}},
        {{5, 5, 5}, COL_TEXT, {2, COL_TEXT}},
        {{5, 5, 5}, COL_REPEAT, {2, COL_REPEAT}},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        f.AddRows(1 + static_cast<int>(c.later_sizes.size()));
        int i = 2;
        for (int size : c.later_sizes) {
            SegmentNode& n = *testing::Records(f.editor).at(i++);
            n.auto_font = size == 0 ? 1 : 0;
            n.font_size = static_cast<std::uint8_t>(size);
        }
        testing::Current(f.editor) = testing::Records(f.editor).at(1);
        f.editor.MakeRowCurrent(1);
        f.editor.CommitCell(1, c.column, c.column == COL_REPEAT ? "3" : "A", true);
        ASSERT_EQ(f.view.opened.size(), 1u);
        EXPECT_EQ(f.view.opened[0], c.opened);
        EXPECT_EQ(f.editor.current_row(), c.opened.first);
    }
}

TEST_F(CommitTest, EnterOnTheLastRowAddsOne) {
    Type(0, COL_TEXT, "A", true);
    EXPECT_EQ(editor.grid().GetItemCount(), 2);
    EXPECT_EQ(view.opened, (std::vector<std::pair<int, int>>{{1, COL_TEXT}}));
    EXPECT_EQ(editor.current_row(), 1);
}

TEST_F(CommitTest, EnterOnTheThousandthRowOpensNothing) {
    AddRows(model::kMaxRows - 1);
    Type(999, COL_REPEAT, "2", true);
    EXPECT_EQ(editor.grid().GetItemCount(), 1000);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"已经到最大行数！"}));
    EXPECT_TRUE(view.opened.empty());
}

TEST_F(CommitTest, RefusedCommitForgetsEnter) {
    // Enter on a refused repeat, then a commit closed by losing the focus: it must not move on.
    AddRows(2);
    Type(0, COL_REPEAT, "500", true);
    EXPECT_TRUE(view.opened.empty());
    editor.CommitCell(0, COL_REPEAT, "5", false);
    EXPECT_TRUE(view.opened.empty());
    EXPECT_EQ(editor.current_row(), 0);
}

TEST_F(CommitTest, SecondLineOnALabelWithALargeFixedSize) {
    struct Case {
        int material;
        int size;
        int answer;
    };
    for (const Case c : {Case{1, 4, 0}, Case{1, 3, 1}, Case{0, 4, 1}, Case{1, 0, 1}}) {
        EditorFixture f;
        f.editor.OnMaterialChanged(c.material);
        testing::Current(f.editor)->auto_font = c.size == 0;
        testing::Current(f.editor)->font_size = static_cast<std::uint8_t>(c.size);
        EXPECT_EQ(f.editor.OnCanEditCell(0, COL_TEXT2), c.answer);
        EXPECT_EQ(f.editor.OnCanEditCell(0, COL_TEXT), 1);
        EXPECT_EQ(f.prompts.Texts().size(), c.answer == 0 ? 1u : 0u);
        if (c.answer == 0) {
            EXPECT_EQ(f.prompts.messages[0].text, "字体太大，不适合双行，请先选择1-3号字体！");
        }
    }
}

TEST_F(CommitTest, JobAtTheLimitKeepsTheTextButWarns) {
    AddRows(583);
    for (SegmentNode* n = testing::Records(editor).head(); n; n = n->next) {
        n->text_length = 50;
        n->auto_length = 1;
    }
    // 10 + 584 * 105 = 61330; a text of 50 bytes on a new row reaches 61435, then 61440 + 50.
    editor.AddRow();
    testing::Current(editor)->auto_length = 1;
    Type(584, COL_TEXT, std::string(50, 'x'));
    EXPECT_TRUE(prompts.messages.empty());
    editor.AddRow();
    testing::Current(editor)->auto_length = 1;
    Type(585, COL_TEXT, "xxxxx");
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"已经超出最大打印量！"}));
    EXPECT_EQ(Text(585), "xxxxx");
}

}  // namespace
}  // namespace qvprt::editor

namespace qvprt::editor {
namespace {

// The fit check measures the text being committed, not the counters of the previous text.
TEST_F(CommitTest, FitIsMeasuredWithTheNewTextsCharacters) {
    struct Case {
        std::string before;
        std::string typed;
        bool accepted;
    };
    const Case cases[] = {
        // seven hanzi at size 2: 7 x 24 = 168 fits 240 - 48
        {"AB", "\xd6\xd0\xce\xc4\xd6\xd0\xce\xc4\xd6\xd0\xce\xc4\xd6\xd0", true},
        // nine letters at size 2: 216 does not fit, whatever the previous text held
        {"\xd6\xd0\xce\xc4\xd6\xd0\xce\xc4", "ABCDEFGHI", false},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        SegmentNode& n = *testing::Records(f.editor).head();
        n.auto_font = 0;
        n.font_size = 2;
        f.editor.CommitCell(0, COL_TEXT, c.before, false);
        ASSERT_TRUE(f.prompts.messages.empty());
        f.editor.CommitCell(0, COL_TEXT, c.typed, false);
        EXPECT_EQ(f.prompts.messages.empty(), c.accepted) << c.typed;
        EXPECT_EQ(std::string(n.text.data(), n.text_length), c.accepted ? c.typed : c.before);
        EXPECT_EQ(n.wide_char_count, model::count_wide_chars(n));
    }
}

}  // namespace
}  // namespace qvprt::editor
