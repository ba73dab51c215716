#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor_access.h"
#include "fake_ports.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace qvprt::editor {
namespace {

namespace fs = std::filesystem;
using testing::EditorFixture;

// What a step must bring back, in a comparable form: grid cells and checks, header, records'
// user fields, settings, boxes and edits, current row.
struct Seen {
    std::vector<std::string> cells;
    std::vector<bool> checks;
    int header = 0;
    std::vector<std::string> records;
    std::string settings;
    Controls controls;
    int current_row = -1;
    int copies = 0;
    bool operator==(const Seen&) const = default;
};

std::string F(const auto& field) {
    return std::string(text::field_text(field));
}

Seen See(const Editor& e) {
    Seen s;
    const SegmentGrid& g = e.grid();
    for (int r = 0; r < g.GetItemCount(); ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            s.cells.push_back(g.GetItemText(r, c));
        }
        s.checks.push_back(g.GetCheck(r));
    }
    s.header = g.GetHeaderCheckState(COL_CHECK);
    for (const model::SegmentNode* n = e.segments().head(); n != nullptr; n = n->next) {
        s.records.push_back(
            F(n->material) + "|" + F(n->length_text) + "|" + std::to_string(n->font_size) +
            n->decoration + std::to_string(n->char_scale) + "|" +
            std::string(n->direction.data(), 2) + std::to_string(n->repeat) +
            std::to_string(n->auto_length) + std::to_string(n->auto_font) + "|" +
            std::to_string(n->has_serial) + std::to_string(n->serial_natural) +
            std::to_string(n->serial_lower) + F(n->serial_start) + "-" + F(n->serial_end));
    }
    const model::JobSettings& j = e.settings();
    s.settings = F(j.material_code) + std::to_string(j.material_index) +
                 std::to_string(j.material_param_index) + j.cut_mode + std::to_string(j.spacing) +
                 std::to_string(j.arrangement) + std::to_string(j.density) +
                 std::to_string(j.copies);
    s.controls = e.controls();
    s.current_row = e.current_row();
    s.copies = e.copies_edit_value();
    return s;
}

class HistoryTest : public ::testing::Test, public EditorFixture {
  protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("qvprt-history-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        std::FILE* csv = std::fopen(Csv().c_str(), "wb");
        ASSERT_NE(csv, nullptr);
        std::fputs("C1,L1,2\r\nC2,,3\r\nC3,,\r\n", csv);
        std::fclose(csv);
        // A project of two rows that the open cases read.
        EditorFixture f;
        f.AddRows(1);
        f.editor.CommitCell(0, COL_TEXT, "P1", false);
        f.editor.CommitCell(1, COL_TEXT, "P2", false);
        f.prompts.files = {Project()};
        f.editor.SaveProjectFile();
        ASSERT_EQ(f.editor.last_outcome(), Outcome::Done);
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }
    static std::string Project() { return (dir_ / "p.qvk").string(); }
    static std::string Csv() { return (dir_ / "rows.csv").string(); }

    void Type(int row, const char* utf8) {
        editor.CommitCell(row, COL_TEXT, text::gbk(utf8), false);
    }
    static fs::path dir_;
};
fs::path HistoryTest::dir_;

SerialChoice Serial(const char* start, const char* end) {
    SerialChoice c;
    c.natural = 1;
    text::copy_field(c.start, start);
    text::copy_field(c.end, end);
    return c;
}

// Each command is one step: undo brings back what was before it, redo what was after it, and
// the view hears of every control the restore sets.
TEST_F(HistoryTest, EveryCommandUndoesAndRedoesAsOneStep) {
    struct Case {
        const char* name;
        std::function<void(EditorFixture&)> run;
        // Typing into an edit is no step of its own; it comes before the command.
        std::function<void(EditorFixture&)> type = [](EditorFixture&) {};
    };
    const Case cases[] = {
        {"add row", [](EditorFixture& f) { f.editor.AddRow(); }},
        {"commit cell", [](EditorFixture& f) { f.editor.CommitCell(1, COL_TEXT, "AB12", false); }},
        {"commit second line",
         [](EditorFixture& f) { f.editor.CommitCell(1, COL_TEXT2, "CD", false); }},
        {"commit repeat", [](EditorFixture& f) { f.editor.CommitCell(1, COL_REPEAT, "4", false); }},
        {"delete checked rows",
         [](EditorFixture& f) {
             f.prompts.answers = {true};
             f.editor.DeleteCheckedRows();
         }},
        {"header tick", [](EditorFixture& f) { f.editor.OnCheckColumnClick(COL_CHECK); }},
        {"row check box", [](EditorFixture& f) { f.editor.SetRowCheck(0, false); }},
        {"material", [](EditorFixture& f) { f.editor.OnMaterialChanged(1); }},
        {"material parameter", [](EditorFixture& f) { f.editor.OnMaterialParamChanged(3); }},
        {"cut", [](EditorFixture& f) { f.editor.OnCutChanged(0); }},
        {"spacing", [](EditorFixture& f) { f.editor.OnSpacingChanged(4); }},
        {"arrangement", [](EditorFixture& f) { f.editor.OnArrangementChanged(1); }},
        {"density", [](EditorFixture& f) { f.editor.OnDensityChanged(2); }},
        {"copies", [](EditorFixture& f) { f.editor.OnCopiesChanged("5"); }},
        {"font size", [](EditorFixture& f) { f.editor.OnFontSizeChanged(2); }},
        {"font size, current row only", [](EditorFixture& f) { f.editor.OnFontSizeChanged(3); },
         [](EditorFixture& f) { f.editor.OnScopeChanged(true); }},
        {"scale", [](EditorFixture& f) { f.editor.OnScaleChanged(1); }},
        {"decoration", [](EditorFixture& f) { f.editor.OnDecorationChanged(1); }},
        {"direction", [](EditorFixture& f) { f.editor.OnDirectionChanged(1); }},
        {"auto length", [](EditorFixture& f) { f.editor.OnAutoLength(); },
         [](EditorFixture& f) { f.editor.OnFontSizeChanged(2); }},
        {"set length", [](EditorFixture& f) { f.editor.OnSetLength(); },
         [](EditorFixture& f) { f.editor.OnEditTextChanged(Control::LengthEdit, "40"); }},
        {"set repeat", [](EditorFixture& f) { f.editor.OnSetRepeat(); },
         [](EditorFixture& f) { f.editor.OnEditTextChanged(Control::RepeatEdit, "3"); }},
        {"external font", [](EditorFixture& f) { f.editor.OnExternalFontLibrary(); }},
        {"superscript with its posted commit",
         [](EditorFixture& f) {
             f.editor.OnSuperscript();
             f.view.RunPosted();
         }},
        {"subscript with its posted commit",
         [](EditorFixture& f) {
             f.editor.OnSubscript();
             f.view.RunPosted();
         }},
        {"serial numbers",
         [](EditorFixture& f) {
             f.prompts.serials = {Serial("1", "9")};
             f.editor.OnSerialNumbers();
         }},
        {"symbols",
         [](EditorFixture& f) {
             f.prompts.symbols = {std::string("\xAA\xA1\xAA\xA2")};
             f.editor.InsertSymbol();
         }},
        {"open, replacing",
         [](EditorFixture& f) {
             f.prompts.answers = {true};
             f.prompts.files = {Project()};
             f.editor.OpenFile();
         }},
        {"import", [](EditorFixture& f) { f.editor.ImportSpreadsheet(Csv()); }},
        {"import through the chooser",
         [](EditorFixture& f) {
             f.prompts.files = {Csv()};
             f.editor.OnExcelImport();
         }},
        {"paste of a cell range",
         [](EditorFixture& f) { f.editor.PasteText("W1\tL1\t2\r\nW2\t\t5\r\n"); }},
        {"paste of one value", [](EditorFixture& f) { f.editor.PasteText("W007\r\n"); }},
        {"open, appending",
         [](EditorFixture& f) {
             f.prompts.answers = {false};
             f.prompts.files = {Project()};
             f.editor.OpenFile();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        f.AddRows(2);
        f.editor.CommitCell(0, COL_TEXT, "X1", false);
        f.editor.OnRowClicked(1, COL_TEXT);
        testing::Grid(f.editor).SetCurrentColumn(COL_TEXT);
        c.type(f);
        const Seen before = See(f.editor);
        c.run(f);
        ASSERT_FALSE(f.prompts.unexpected);
        ASSERT_TRUE(f.prompts.messages.empty()) << f.prompts.messages[0].text;
        const Seen after = See(f.editor);
        ASSERT_NE(after, before);
        ASSERT_TRUE(f.editor.CanUndo());
        // One undo brings it all back, so the command made one step.
        f.view.changed.clear();
        f.editor.Undo();
        EXPECT_EQ(See(f.editor), before);
        for (Control id : kAllControls) {
            EXPECT_NE(std::find(f.view.changed.begin(), f.view.changed.end(), id),
                      f.view.changed.end())
                << static_cast<int>(id);
        }
        EXPECT_TRUE(f.editor.CanRedo());
        f.editor.Redo();
        EXPECT_EQ(See(f.editor), after);
        EXPECT_FALSE(f.editor.CanRedo());
        // The records stay paired with the rows after a restore.
        EXPECT_EQ(f.editor.segments().size(), f.editor.grid().GetItemCount());
        EXPECT_EQ(f.editor.current_segment(), f.editor.segments().at(f.editor.current_row()));
    }
}

// A command refused with its message, cancelled, or changing nothing leaves no step.
TEST_F(HistoryTest, RefusalsLeaveNoStep) {
    const std::string full(50, 'a');
    struct Case {
        const char* name;
        std::function<void(EditorFixture&)> run;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"copies out of range",
         [](EditorFixture& f) { f.editor.OnCopiesChanged("0"); },
         {"打印份数应在[1-20]之间！"}},
        {"length out of range",
         [](EditorFixture& f) {
             f.editor.OnEditTextChanged(Control::LengthEdit, "200");
             f.editor.OnSetLength();
         },
         {"输入段长值应在(6-150)之间!"}},
        {"repeat out of range",
         [](EditorFixture& f) {
             f.editor.OnEditTextChanged(Control::RepeatEdit, "0");
             f.editor.OnSetRepeat();
         },
         {"重复次数应在[1-100]之间！"}},
        {"repeat cell out of range",
         [](EditorFixture& f) { f.editor.CommitCell(1, COL_REPEAT, "101", false); },
         {"重复次数应在[1-100]之间，设置无效！"}},
        {"superscript on a full cell",
         [&full](EditorFixture& f) {
             testing::Grid(f.editor).SetCellText(1, COL_TEXT, full);
             f.editor.OnSuperscript();
             f.view.RunPosted();
         },
         {"本段内容超长！"}},
        {"serial numbers on a full cell",
         [&full](EditorFixture& f) {
             testing::Grid(f.editor).SetCellText(1, COL_TEXT, full);
             f.prompts.serials = {Serial("1", "3")};
             f.editor.OnSerialNumbers();
         },
         {"本段内容超长！"}},
        {"symbols on a full cell",
         [&full](EditorFixture& f) {
             testing::Grid(f.editor).SetCellText(1, COL_TEXT, full);
             f.prompts.symbols = {std::string("\xAA\xA1")};
             f.editor.InsertSymbol();
         },
         {"本段内容超长！"}},
        {"serial dialog cancelled",
         [](EditorFixture& f) {
             f.prompts.serials = {std::nullopt};
             f.editor.OnSerialNumbers();
         },
         {}},
        {"picker cancelled",
         [](EditorFixture& f) {
             f.prompts.symbols = {std::nullopt};
             f.editor.InsertSymbol();
         },
         {}},
        {"delete answered No",
         [](EditorFixture& f) {
             f.prompts.answers = {false};
             f.editor.DeleteCheckedRows();
         },
         {}},
        {"open cancelled",
         [](EditorFixture& f) {
             f.prompts.files = {std::nullopt};
             f.editor.OpenFile();
         },
         {}},
        {"open of a missing file",
         [](EditorFixture& f) {
             f.prompts.answers = {true};
             f.prompts.files = {(dir_ / "missing.qvk").string()};
             f.editor.OpenFile();
         },
         {"*"}},
        {"import of a missing file",
         [](EditorFixture& f) { f.editor.ImportSpreadsheet((dir_ / "missing.csv").string()); },
         {"*"}},
        {"import cancelled",
         [](EditorFixture& f) {
             f.prompts.files = {std::nullopt};
             f.editor.OnExcelImport();
         },
         {}},
        {"paste without a GBK code",
         [](EditorFixture& f) { f.editor.PasteText("\xF0\x9F\x98\x80"); },
         {"输入内容含有无法打印的字符！"}},
        {"paste of an over-long value",
         [](EditorFixture& f) { f.editor.PasteText(std::string(51, 'x')); },
         {"输入内容超长！"}},
        {"row clicks", [](EditorFixture& f) { f.editor.OnRowClicked(0, COL_TEXT); }, {}},
        {"scope radio", [](EditorFixture& f) { f.editor.OnScopeChanged(true); }, {}},
        {"preview and print",
         [](EditorFixture& f) {
             f.editor.OnPreview();
             f.editor.OnPrint();
         },
         {"*"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        f.AddRows(1);
        f.editor.OnRowClicked(1, COL_TEXT);
        testing::Grid(f.editor).SetCurrentColumn(COL_TEXT);
        f.editor.Undo();  // the AddRow, so that a step made now shows as one
        f.editor.Redo();
        ASSERT_TRUE(f.editor.CanUndo());
        c.run(f);
        if (c.messages != std::vector<std::string>{"*"}) {
            EXPECT_EQ(f.prompts.Texts(), c.messages);
        }
        EXPECT_TRUE(f.editor.CanUndo());
        f.editor.Undo();
        EXPECT_EQ(f.editor.grid().GetItemCount(), 1) << "the undo took a step of the refusal";
    }
}

TEST_F(HistoryTest, PostedCommitStaysInItsStep) {
    AddRows(1);
    testing::Grid(editor).SetCurrentColumn(COL_TEXT);
    editor.OnSubscript();
    const Seen marked = See(editor);
    editor.Undo();  // waits for the posted commit
    EXPECT_EQ(See(editor), marked);
    view.RunPosted();
    editor.Undo();
    EXPECT_EQ(Cell(1, COL_TEXT), "");
    EXPECT_EQ(editor.grid().GetItemCount(), 2);
}

TEST_F(HistoryTest, NewCommandClearsRedoAndHistoryIsBounded) {
    AddRows(1);
    editor.Undo();
    EXPECT_TRUE(editor.CanRedo());
    Type(0, "A");
    EXPECT_FALSE(editor.CanRedo());
    for (int i = 0; i < static_cast<int>(Editor::kMaxUndoSteps) + 20; ++i) {
        Type(0, std::to_string(i).c_str());
    }
    int undone = 0;
    while (editor.CanUndo()) {
        editor.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(Editor::kMaxUndoSteps));
    EXPECT_EQ(Cell(0, COL_TEXT), "19");
    EXPECT_GT(editor.HistoryBytes(), 0u);
}

TEST_F(HistoryTest, AsksOnExitOnlyWhileTheJobDiffersFromTheLastFile) {
    EXPECT_FALSE(editor.IsModified());
    EXPECT_TRUE(editor.OnExit());
    EXPECT_TRUE(prompts.questions.empty());

    Type(0, "AB");
    EXPECT_TRUE(editor.IsModified());
    EXPECT_TRUE(view.modified);
    prompts.three_way = {Answer::Cancel};
    EXPECT_FALSE(editor.OnExit());
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].text, "当前内容尚未保存，是否保存？");
    EXPECT_EQ(prompts.questions[0].caption, "QvprtTest");

    // Undo back to the saved state: nothing to ask.
    editor.Undo();
    EXPECT_FALSE(editor.IsModified());
    EXPECT_FALSE(view.modified);
    EXPECT_TRUE(editor.ConfirmClose());
    editor.Redo();
    EXPECT_TRUE(view.modified);

    // 是 with a cancelled save keeps the window; 是 with a save marks the job saved.
    prompts.three_way = {Answer::Yes};
    prompts.files = {std::nullopt};
    EXPECT_FALSE(editor.ConfirmClose());
    const std::string project = (dir_ / "job.qvk").string();
    prompts.three_way = {Answer::Yes};
    prompts.files = {project};
    EXPECT_TRUE(editor.ConfirmClose());
    EXPECT_FALSE(view.modified);

    // A save into a folder that does not exist fails and keeps the window.
    Type(0, "XY");
    prompts.three_way = {Answer::Yes};
    prompts.files = {(dir_ / "no-such-folder" / "job.qvk").string()};
    EXPECT_FALSE(editor.ConfirmClose());
    EXPECT_TRUE(view.modified);
    editor.Undo();
    EXPECT_FALSE(view.modified);

    // A preview recompiles but changes nothing; a new row differs; 否 closes without saving.
    editor.OnPreview();
    EXPECT_FALSE(editor.IsModified());
    editor.AddRow();
    prompts.three_way = {Answer::No};
    EXPECT_TRUE(editor.OnExit());

    // Opening the project in replace mode makes it the last file again; a written U-disk file
    // counts too; an append does not.
    prompts.answers = {true};
    prompts.files = {project};
    editor.OpenFile();
    ASSERT_EQ(editor.last_outcome(), Outcome::Done);
    EXPECT_FALSE(view.modified);
    Type(0, "CD");
    prompts.files = {(dir_ / "job.qvu").string()};
    editor.SaveUdiskFile();
    EXPECT_FALSE(view.modified);
    prompts.answers = {false};
    prompts.files = {project};
    editor.OpenFile();
    EXPECT_TRUE(view.modified);
    EXPECT_FALSE(prompts.unexpected);
}

}  // namespace
}  // namespace qvprt::editor
