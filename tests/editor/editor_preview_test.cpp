#include <gtest/gtest.h>

#include "fake_ports.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;

TEST(PreviewCommand, HeightFromMaterialAndParameter) {
    struct Case {
        std::array<char, 4> material;
        int param_index;
        std::vector<double> heights;  // empty: the strip keeps its height
    };
    const Case cases[] = {
        {{'L', 'A', 'B', 0}, 0, {6.0}},  {{'L', 'A', 'B', 0}, 1, {9.0}},
        {{'L', 'A', 'B', 0}, 2, {12.0}}, {{'L', 'A', 'B', 0}, 3, {}},
        {{'T', 'U', 'B', 0}, 0, {5.0}},  {{'T', 'U', 'B', 0}, 1, {6.5}},
        {{'S', 'T', 'U', 0}, 2, {8.0}},  {{'T', 'U', 'B', 0}, 3, {10.0}},
        {{'T', 'U', 'B', 0}, 4, {}},     {{'T', 'U', 'B', 0}, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.material.data()) + " " + std::to_string(c.param_index));
        EditorFixture f;
        f.editor.settings.material_code = c.material;
        f.editor.settings.material_param_index = c.param_index;
        f.editor.OnPreview();
        EXPECT_EQ(f.view.preview_heights, c.heights);
        EXPECT_EQ(f.view.previews, 1);
    }
}

// The strip draws what the grid shows: the open editor is committed first, and the records are
// compiled in the edit form with their check marks and the current row.
TEST(PreviewCommand, CommitsAndCompilesBeforeShowing) {
    EditorFixture f;
    f.AddRows(2);
    f.editor.grid.SetCellText(0, COL_TEXT, "A1");
    f.editor.grid.SetCellText(1, COL_TEXT, "B2");
    f.editor.grid.SetCellText(2, COL_TEXT, "C3");
    f.editor.grid.SetCheck(2, false);
    f.editor.MakeRowCurrent(1);
    const int commits = f.view.commits;
    f.editor.OnPreview();
    EXPECT_EQ(f.view.commits, commits + 1);
    const model::SegmentNode* n = f.editor.head_segment;
    EXPECT_EQ(text::field_text(n->text), "A1");
    EXPECT_EQ(n->is_current, 0);
    n = n->next;
    EXPECT_EQ(n->is_current, 1);
    EXPECT_EQ(n->enabled, 1);
    n = n->next;
    EXPECT_EQ(text::field_text(n->text), "C3");
    EXPECT_EQ(n->enabled, 0);
    EXPECT_EQ(f.view.previews, 1);
    EXPECT_TRUE(f.prompts.messages.empty());
}

}  // namespace
}  // namespace qvprt::editor
