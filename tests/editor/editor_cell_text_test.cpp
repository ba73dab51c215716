#include <gtest/gtest.h>

#include "fake_ports.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;
using testing::Shown;

// A pasted text with a character GBK cannot hold: the user is told, the cell keeps its text, and
// the Enter that ended the edit does not carry over to the next commit.
TEST(CellTextRefused, ToldOnceCellKeptEnterCleared) {
    EditorFixture f;
    f.editor.CommitCell(0, COL_TEXT, "A1", false);
    f.editor.OnCellTextRefused(0, COL_TEXT);
    EXPECT_EQ(f.prompts.messages,
              (std::vector<Shown>{{"输入内容含有无法打印的字符！", "提示", MessageIcon::None}}));
    EXPECT_EQ(f.Cell(0, COL_TEXT), "A1");
    EXPECT_TRUE(f.view.opened.empty());
    f.editor.CommitCell(0, COL_TEXT, "A2", false);
    EXPECT_TRUE(f.view.opened.empty());
}

}  // namespace
}  // namespace qvprt::editor
