#include <gtest/gtest.h>

#include "fake_ports.h"
#include "model/segment_list.h"

namespace qvprt::editor {
namespace {

using model::SegmentNode;
using testing::EditorFixture;

class RowsTest : public ::testing::Test, public EditorFixture {
  protected:
    // Rows and records stay paired: same count, the star and numbers right, current_segment is the
    // current row's record.
    void ExpectPaired() {
        const int n = editor.grid().GetItemCount();
        ASSERT_EQ(model::segment_count(editor.segments().head()), n);
        ASSERT_GE(editor.current_row(), 0);
        EXPECT_EQ(editor.current_segment(), testing::Records(editor).at(editor.current_row()));
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(Cell(i, COL_CURRENT), i == editor.current_row() ? "★" : "") << i;
            EXPECT_EQ(Cell(i, COL_NUMBER), std::to_string(i + 1)) << i;
        }
    }
    // Tags each record through its repeat count so a test can tell which survived.
    void TagRecords() {
        int i = 0;
        for (SegmentNode* n = testing::Records(editor).head(); n; n = n->next) {
            model::set_repeat(*n, 10 + i++);
        }
    }
    std::vector<int> Tags() {
        std::vector<int> v;
        for (SegmentNode* n = testing::Records(editor).head(); n; n = n->next) {
            v.push_back(n->repeat);
        }
        return v;
    }
};

TEST_F(RowsTest, StartUpShowsOneCheckedCurrentRow) {
    ASSERT_EQ(editor.grid().GetItemCount(), 1);
    EXPECT_TRUE(editor.grid().GetCheck(0));
    EXPECT_EQ(Cell(0, COL_CURRENT), "★");
    EXPECT_EQ(Cell(0, COL_NUMBER), "1");
    EXPECT_EQ(Cell(0, COL_REPEAT), "1");
    EXPECT_EQ(Cell(0, COL_FONTSIZE), "0");
    EXPECT_EQ(Cell(0, COL_DECORATION), "无修饰");
    EXPECT_EQ(Cell(0, COL_DIRECTION), "横向打印");
    EXPECT_EQ(Cell(0, COL_SCALE), "100%");
    EXPECT_EQ(editor.grid().GetHeaderCheckState(COL_CHECK), 2);
    EXPECT_EQ(editor.current_row(), 0);
    EXPECT_EQ(editor.grid().GetCurrentColumn(), COL_NUMBER);
    EXPECT_EQ(editor.controls().density.selection, 8);  // "9", the density the job starts with
    EXPECT_TRUE(prompts.messages.empty());
    ExpectPaired();
}

TEST_F(RowsTest, AddRowInsertsAfterTheCurrentRow) {
    AddRows(4);
    TagRecords();
    editor.OnRowClicked(3, COL_TEXT);
    editor.AddRow();
    EXPECT_EQ(editor.current_row(), 4);
    EXPECT_EQ(Tags(), (std::vector<int>{10, 11, 12, 13, 1, 14}));
    ExpectPaired();
}

TEST_F(RowsTest, AddRowWithExternalFontLibraryShowsOut) {
    testing::ControlsOf(editor).external_font = true;
    editor.AddRow();
    EXPECT_EQ(Cell(1, COL_SCALE), "out");
    EXPECT_EQ(editor.current_segment()->char_scale, 2);
}

TEST_F(RowsTest, AddRowLimits) {
    AddRows(model::kMaxRows - 1);
    ASSERT_EQ(editor.grid().GetItemCount(), 1000);
    editor.AddRow();
    EXPECT_EQ(editor.grid().GetItemCount(), 1000);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"已经到最大行数！"}));
    EXPECT_EQ(prompts.messages[0].caption, "提示");
}

TEST_F(RowsTest, AddRowRefusesAFullJob) {
    AddRows(584);
    for (SegmentNode* n = testing::Records(editor).head(); n; n = n->next) {
        n->text_length = 50;
    }
    editor.AddRow();  // 10 + 585 * 105 = 61435: still room
    ASSERT_EQ(editor.grid().GetItemCount(), 586);
    testing::Current(editor)->text_length = 5;  // 61435 - 0 + 60 = 61495
    editor.AddRow();
    EXPECT_EQ(editor.grid().GetItemCount(), 586);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"已经超出最大打印量！"}));
    ExpectPaired();
}

TEST_F(RowsTest, DeleteWithOneRowClearsItWithoutAsking) {
    for (bool ticked : {true, false}) {
        testing::Grid(editor).SetCellText(0, COL_TEXT, "A");
        testing::Grid(editor).SetCellText(0, COL_TEXT2, "B");
        testing::Current(editor)->text[0] = 'A';
        testing::Current(editor)->text_length = 1;
        testing::Grid(editor).SetCheck(0, ticked);
        editor.DeleteCheckedRows();
        EXPECT_EQ(Cell(0, COL_TEXT), "");
        EXPECT_EQ(Cell(0, COL_TEXT2), "");
        EXPECT_EQ(editor.segments().head()->text_length, 0);
        EXPECT_EQ(editor.segments().head()->text[0], 0);
        EXPECT_TRUE(prompts.questions.empty());
    }
}

TEST_F(RowsTest, DeleteCheckedRows) {
    struct Case {
        std::vector<bool> ticks;
        bool answer;
        std::vector<int> tags;  // surviving records
        int current;
    };
    const Case cases[] = {
        {{true, false, true}, true, {11}, 0},
        {{true, true, true}, true, {10}, 0},
        {{false, true, false, true, false}, true, {10, 12, 14}, 1},
        {{false, false, true, true}, true, {10, 11}, 1},
        {{true, false, true}, false, {10, 11, 12}, 2},
        {{false, false}, true, {10, 11}, 1},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        for (std::size_t i = 1; i < c.ticks.size(); ++i) {
            f.editor.AddRow();
        }
        int i = 0;
        for (SegmentNode* n = testing::Records(f.editor).head(); n; n = n->next, ++i) {
            model::set_repeat(*n, 10 + i);
            n->text_length = 1;
            testing::Grid(f.editor).SetCheck(i, c.ticks[static_cast<std::size_t>(i)]);
        }
        f.prompts.answers.push_back(c.answer);
        f.editor.DeleteCheckedRows();
        ASSERT_EQ(f.prompts.questions.size(), 1u);
        EXPECT_EQ(f.prompts.questions[0].text, "将全部删除选定行，是否继续？");
        EXPECT_EQ(f.prompts.questions[0].caption, "QvprtTest");
        std::vector<int> tags;
        for (SegmentNode* n = testing::Records(f.editor).head(); n; n = n->next) {
            tags.push_back(n->repeat);
        }
        EXPECT_EQ(tags, c.tags);
        EXPECT_EQ(f.editor.current_row(), c.current);
        EXPECT_EQ(f.editor.grid().GetItemCount(), static_cast<int>(c.tags.size()));
        EXPECT_EQ(f.editor.current_segment(),
                  testing::Records(f.editor).at(f.editor.current_row()));
        for (int r = 0; r < f.editor.grid().GetItemCount(); ++r) {
            EXPECT_EQ(f.Cell(r, COL_NUMBER), std::to_string(r + 1));
            EXPECT_EQ(f.Cell(r, COL_CURRENT), r == c.current ? "★" : "");
        }
        if (c.ticks == std::vector<bool>{true, true, true}) {
            EXPECT_EQ(f.editor.segments().head()->text_length, 0);
            EXPECT_TRUE(f.editor.grid().GetCheck(0));
        }
    }
}

TEST_F(RowsTest, RowClickShowsTheRecordInTheBoxesOnly) {
    editor.AddRow();
    SegmentNode* n = testing::Current(editor);
    n->auto_font = 0;
    n->font_size = 3;
    n->char_scale = 2;
    n->decoration = 'L';
    n->direction = {'1', '3'};
    editor.OnRowClicked(0, COL_TEXT);
    editor.OnRowClicked(1, COL_TEXT);
    EXPECT_EQ(editor.current_row(), 1);
    EXPECT_EQ(editor.controls().font_size.selection, 3);
    EXPECT_EQ(editor.controls().scale.selection, -1);
    EXPECT_EQ(editor.controls().decoration.selection, 2);
    EXPECT_EQ(editor.controls().direction.selection, 1);
    // The defaults stay: the next row still gets the default font size.
    editor.AddRow();
    EXPECT_EQ(editor.current_segment()->font_size, 0);
    EXPECT_EQ(Cell(2, COL_FONTSIZE), "0");
    // Out-of-range rows are ignored.
    EXPECT_EQ(editor.OnRowClicked(3, 3), 0);
    EXPECT_EQ(editor.OnRowClicked(-1, 3), 0);
    EXPECT_EQ(editor.current_row(), 2);
}

// Whatever command makes another row current, the boxes show that row's values, not those of the
// row current before.
TEST_F(RowsTest, EveryNewCurrentRowShowsItsAttributesInTheBoxes) {
    enum Command { kDelete, kEnterCommit, kAddRow };
    for (Command command : {kDelete, kEnterCommit, kAddRow}) {
        SCOPED_TRACE(command);
        EditorFixture f;
        f.AddRows(2);
        SegmentNode* n = testing::Records(f.editor).at(0);
        n->auto_font = 0;
        n->font_size = 3;
        n->char_scale = 1;
        n->decoration = 'L';
        n->direction = {'1', '3'};
        f.editor.OnRowClicked(0, COL_TEXT);
        ASSERT_EQ(f.editor.controls().font_size.selection, 3);
        ASSERT_EQ(f.editor.controls().scale.selection, 1);
        ASSERT_EQ(f.editor.controls().decoration.selection, 2);
        ASSERT_EQ(f.editor.controls().direction.selection, 1);
        switch (command) {
            case kDelete:
                for (int r = 0; r < 3; ++r) {
                    testing::Grid(f.editor).SetCheck(r, r == 0);
                }
                f.prompts.answers.push_back(true);
                f.editor.DeleteCheckedRows();
                break;
            case kEnterCommit:
                f.editor.CommitCell(0, COL_TEXT, "A", true);
                break;
            case kAddRow:
                f.editor.AddRow();
                break;
        }
        ASSERT_NE(f.editor.current_segment(), n);
        EXPECT_EQ(f.editor.controls().font_size.selection, 0);
        EXPECT_EQ(f.editor.controls().scale.selection, 0);
        EXPECT_EQ(f.editor.controls().decoration.selection, 0);
        EXPECT_EQ(f.editor.controls().direction.selection, 0);
    }
}

TEST_F(RowsTest, HeaderClickTogglesEveryRow) {
    AddRows(2);
    testing::Grid(editor).SetCheck(1, false);
    editor.OnCheckColumnClick(COL_CHECK);
    EXPECT_EQ(editor.grid().GetHeaderCheckState(COL_CHECK), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(editor.grid().GetCheck(i));
    }
    editor.OnCheckColumnClick(COL_CHECK);
    EXPECT_EQ(editor.grid().GetHeaderCheckState(COL_CHECK), 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(editor.grid().GetCheck(i));
    }
    editor.OnCheckColumnClick(COL_TEXT);
    EXPECT_EQ(editor.grid().GetHeaderCheckState(COL_CHECK), 2);
}

TEST_F(RowsTest, MakeRowCurrentOutOfRange) {
    AddRows(1);
    editor.MakeRowCurrent(5);
    EXPECT_EQ(editor.current_row(), -1);
    EXPECT_EQ(Cell(1, COL_CURRENT), "★");
}

}  // namespace
}  // namespace qvprt::editor
