// The electrical symbol command: the picker's answer appended to the current text cell.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fake_ports.h"
#include "layout/symbol_table.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;
using testing::Shown;

const std::string kEarth(layout::kSymbolTable[0]);
const std::string kOmega(layout::kSymbolTable[76]);

std::string RecordText(const EditorFixture& f, int row) {
    const model::SegmentNode* n = f.editor.segments().at(row);
    return std::string(n->text.data(), n->text_length);
}

bool Contains(const std::vector<std::uint8_t>& bytes, std::string_view part) {
    const std::string s(bytes.begin(), bytes.end());
    return s.find(part) != std::string::npos;
}

struct ColumnCase {
    int current_column;
    int target_column;
};

class InsertSymbolColumn : public ::testing::TestWithParam<ColumnCase> {};

// Only the two text columns take symbols; from any other column they go to the first line.
TEST_P(InsertSymbolColumn, AppendsToTheTextCell) {
    const ColumnCase c = GetParam();
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "L1");
    testing::Grid(f.editor).SetCellText(0, COL_TEXT2, "N");
    testing::Grid(f.editor).SetCurrentColumn(c.current_column);
    f.prompts.symbols.push_back(kEarth + kOmega);
    f.editor.InsertSymbol();
    const std::string first = c.target_column == COL_TEXT ? "L1" + kEarth + kOmega : "L1";
    const std::string second = c.target_column == COL_TEXT2 ? "N" + kEarth + kOmega : "N";
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT), first);
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT2), second);
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_FALSE(f.prompts.unexpected);
}

INSTANTIATE_TEST_SUITE_P(Columns, InsertSymbolColumn,
                         ::testing::Values(ColumnCase{COL_TEXT, COL_TEXT},
                                           ColumnCase{COL_TEXT2, COL_TEXT2},
                                           ColumnCase{0, COL_TEXT}, ColumnCase{2, COL_TEXT},
                                           ColumnCase{5, COL_TEXT}, ColumnCase{9, COL_TEXT},
                                           ColumnCase{-1, COL_TEXT}, ColumnCase{42, COL_TEXT}));

// The open cell editor commits once the user has chosen, before the cell is read; the record
// itself takes the text only at the next compilation.
TEST(InsertSymbol, CommitsTheOpenEditorAndSendsNoCommit) {
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "PE");
    f.editor.CompileSegments(true);
    const int commits = f.view.commits;
    f.prompts.symbols.push_back(kEarth);
    f.editor.InsertSymbol();
    EXPECT_EQ(f.view.commits, commits + 1);
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT), "PE" + kEarth);
    EXPECT_EQ(RecordText(f, 0), "PE");
    EXPECT_TRUE(f.view.posted.empty());
    EXPECT_TRUE(f.view.opened.empty());
    f.editor.CompileSegments(true);
    EXPECT_EQ(RecordText(f, 0), "PE" + kEarth);
}

TEST(InsertSymbol, CancelChangesNothing) {
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "PE");
    const int commits = f.view.commits;
    f.prompts.symbols.push_back(std::nullopt);
    f.editor.InsertSymbol();
    EXPECT_EQ(f.prompts.symbol_runs, 1);
    EXPECT_EQ(f.view.commits, commits);
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT), "PE");
    EXPECT_TRUE(f.prompts.messages.empty());
}

TEST(InsertSymbol, NothingCollectedLeavesTheText) {
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "PE");
    f.prompts.symbols.push_back(std::string());
    f.editor.InsertSymbol();
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT), "PE");
    EXPECT_TRUE(f.prompts.messages.empty());
}

// The limit is tested on the text before appending: 49 bytes take the symbols, and compilation
// cuts the row to whole characters within 50 bytes; 50 bytes take nothing.
TEST(InsertSymbol, LimitIsOnTheTextBeforeAppending) {
    EditorFixture f;
    const std::string text49(49, 'A');
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, text49);
    f.prompts.symbols.push_back(kEarth + kOmega);
    f.editor.InsertSymbol();
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT), text49 + kEarth + kOmega);
    EXPECT_TRUE(f.prompts.messages.empty());
    f.editor.CompileSegments(true);
    EXPECT_EQ(RecordText(f, 0), text49);
    EXPECT_EQ(f.editor.overlong_count(), 1);

    const std::string text50(50, 'B');
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, text50);
    f.prompts.symbols.push_back(kEarth);
    f.editor.InsertSymbol();
    EXPECT_EQ(f.editor.grid().GetItemText(0, COL_TEXT), text50);
    EXPECT_EQ(f.prompts.messages,
              (std::vector<Shown>{{"本段内容超长！", "提示", MessageIcon::None}}));
}

// The printer gets every symbol with A1 as its first byte; the project file keeps the grid's AA.
TEST(InsertSymbol, PrinterFormAndProjectFileCodes) {
    EditorFixture f;
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "K");
    std::string all;
    for (std::string_view s : layout::kSymbolTable) {
        all += s;
    }
    // Four rows hold every entry between them, 24 symbols to a row.
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < all.size(); at += 48) {
        parts.push_back(all.substr(at, 48));
    }
    for (std::size_t r = 0; r < parts.size(); ++r) {
        if (r > 0) {
            f.editor.AddRow();
            f.editor.OnRowClicked(static_cast<int>(r), COL_TEXT);
        }
        f.prompts.symbols.push_back(parts[r]);
        f.editor.InsertSymbol();
    }

    f.editor.CompileSegments(false);
    std::string printer;
    for (int i = 0; i < layout::SYMBOL_COUNT; ++i) {
        printer += '\xA1';
        printer += static_cast<char>(0xA1 + i);
    }
    for (std::size_t r = 0; r < parts.size(); ++r) {
        EXPECT_EQ(RecordText(f, static_cast<int>(r)),
                  (r == 0 ? "K" : "") + printer.substr(48 * r, 48));
    }
    f.editor.OnPrint();
    ASSERT_EQ(f.printer.jobs().size(), 1u);
    for (std::size_t r = 0; r < parts.size(); ++r) {
        EXPECT_TRUE(Contains(f.printer.jobs()[0], printer.substr(48 * r, 48))) << r;
    }

    const std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / "qvprt-symbols-project.qvk";
    f.prompts.files.push_back(path.string());
    f.editor.SaveProjectFile();
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> saved(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove(path);
    for (std::size_t r = 0; r < parts.size(); ++r) {
        EXPECT_TRUE(Contains(saved, (r == 0 ? "K" : "") + parts[r])) << r;
    }
    EXPECT_FALSE(Contains(saved, printer.substr(0, 2)));
}

}  // namespace
}  // namespace qvprt::editor
