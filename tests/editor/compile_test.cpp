#include "editor/compile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_ports.h"

namespace qvprt::editor {
namespace {

// A grid of `rows` rows and a list of `records` records, owned by the fixture.
class CompileTest : public ::testing::Test {
  protected:
    void Make(int rows, int records) {
        for (int i = 0; i < rows; ++i) {
            grid.InsertItem(i);
            grid.SetCheck(i, true);
        }
        for (int i = 0; i < records; ++i) {
            list_.push_back(settings);
        }
        head = list_.head();
    }
    std::vector<model::SegmentNode*> Nodes() const {
        std::vector<model::SegmentNode*> v;
        for (model::SegmentNode* n = head; n != nullptr; n = n->next) {
            v.push_back(n);
        }
        return v;
    }
    static std::string Text(const model::SegmentNode* n) {
        return std::string(n->text.data(), n->text_length);
    }

    SegmentGrid grid;
    model::JobSettings settings;
    model::SegmentList list_;
    model::SegmentNode* head = nullptr;
};

TEST_F(CompileTest, RowsAndRecordsInStep) {
    Make(3, 3);
    grid.SetCellText(0, COL_TEXT, "ABC");
    grid.SetCellText(1, COL_TEXT,
                     "X\xaa\xf2"
                     "2\xaa\xb5");
    grid.SetCellText(1, COL_TEXT2,
                     "\xa3\xa8"
                     "1\xa3\xa9");  // （1）
    grid.SetCellText(2, COL_TEXT, std::string(51, 'L'));
    grid.SetCheck(1, false);
    settings.spacing = 2;
    const auto v = Nodes();
    v[0]->font_size = 3;
    v[0]->auto_length = 1;

    const CompileResult printer = CompileSegments(false, grid, settings, head, 1);
    EXPECT_EQ(printer.overlong_count, 1);
    EXPECT_EQ(printer.walk_segment, v[2]);
    EXPECT_EQ(Text(v[0]), "ABC");
    EXPECT_EQ(Text(v[1]),
              "X\x1c"
              "2\xa1\xb5\x1a(1)");
    EXPECT_EQ(Text(v[2]), std::string(50, 'L'));
    EXPECT_EQ((std::vector<int>{v[0]->enabled, v[1]->enabled, v[2]->enabled}),
              (std::vector<int>{1, 0, 1}));
    EXPECT_EQ((std::vector<int>{v[0]->is_current, v[1]->is_current, v[2]->is_current}),
              (std::vector<int>{0, 1, 0}));
    // Each record is measured with the job's spacing.
    EXPECT_EQ(v[0]->content_dots, 100);
    EXPECT_EQ(v[0]->length_dots, 148);

    // The edit form keeps the marks and the symbol; the grid itself is untouched.
    const CompileResult edit = CompileSegments(true, grid, settings, head, -1);
    EXPECT_EQ(edit.overlong_count, 1);
    EXPECT_EQ(Text(v[1]),
              "X\xaa\xf2"
              "2\xaa\xb5\x1a(1)");
    EXPECT_EQ(v[1]->is_current, 0);
    EXPECT_EQ(grid.GetItemText(1, COL_TEXT2),
              "\xa3\xa8"
              "1\xa3\xa9");
}

TEST_F(CompileTest, ExtraRowsCompileTheLastRecordAgain) {
    Make(3, 2);
    grid.SetCellText(1, COL_TEXT, "B");
    grid.SetCellText(2, COL_TEXT, "C");
    const auto v = Nodes();
    const CompileResult r = CompileSegments(false, grid, settings, head, 0);
    EXPECT_EQ(r.walk_segment, v[1]);
    EXPECT_EQ(Text(v[1]), "C");
    EXPECT_EQ(v[1]->is_current, 0);
}

TEST(CompileSegments, EmptyListCompilesNothing) {
    SegmentGrid grid;
    grid.InsertItem(0);
    grid.SetCellText(0, COL_TEXT, "A");
    const CompileResult r = CompileSegments(false, grid, model::JobSettings{}, nullptr, 0);
    EXPECT_EQ(r.overlong_count, 0);
    EXPECT_EQ(r.walk_segment, nullptr);
}

TEST(EditorCompile, CompilesItsOwnGridIntoItsRecords) {
    testing::EditorFixture f;
    f.AddRows(1);
    testing::Grid(f.editor).SetCellText(0, COL_TEXT,
                                        "A\xa3\xac"
                                        "B");  // A，B
    testing::Grid(f.editor).SetCellText(1, COL_TEXT, std::string(50, 'L'));
    f.editor.CompileSegments(false);
    EXPECT_EQ(f.editor.overlong_count(), 1);
    EXPECT_EQ(f.editor.walk_segment(), f.editor.segments().at(1));
    EXPECT_EQ(std::string(f.editor.segments().head()->text.data(),
                          f.editor.segments().head()->text_length),
              "A,B");
    EXPECT_EQ(f.editor.current_segment()->is_current, 1);
}

}  // namespace
}  // namespace qvprt::editor
