#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fake_ports.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

namespace fs = std::filesystem;
using model::SegmentNode;
using testing::EditorFixture;
using Bytes = std::vector<std::uint8_t>;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qvprt-editor-files-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "Jobs");
    }
    void TearDown() override { fs::remove_all(dir); }

    static Bytes Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::string Save(EditorFixture& f, const std::string& name) {
        f.prompts.files.push_back((dir / "Jobs" / name).string());
        f.editor.SaveProjectFile();
        return (dir / "Jobs" / name).string();
    }

    fs::path dir;
};

TEST_F(FilesTest, SaveRightAfterStartUp) {
    EditorFixture f;
    f.view.commits = 0;
    Save(f, "Wire List");
    ASSERT_EQ(f.prompts.choosers.size(), 1u);
    EXPECT_EQ(f.prompts.choosers[0].filter, "QVK(*.qvk)|*.qvk|");
    EXPECT_EQ(f.prompts.choosers[0].initial_name, "QVark.qvk");
    EXPECT_TRUE(f.prompts.choosers[0].confirm_overwrite);
    // Only the file name is lower-cased; the folder keeps its capital.
    const Bytes b = Read(dir / "Jobs" / "wire list.qvk");
    ASSERT_EQ(b.size(), 19u + 66u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 19),
              (Bytes{0, 0, 0, 0, 9, 'C', 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(b[19 + 57], 0);  // text_length
    EXPECT_EQ(f.view.commits, 1);
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Done);
}

TEST_F(FilesTest, SaveCancelledOrRefused) {
    EditorFixture f;
    f.view.commits = 0;
    f.prompts.files.push_back(std::nullopt);
    f.editor.SaveProjectFile();
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ(f.view.commits, 0);
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Cancelled);
    f.prompts.files.push_back((dir / "missing" / "job").string());
    f.editor.SaveProjectFile();
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].caption, "提示");
    EXPECT_NE(f.prompts.messages[0].text.find((dir / "missing" / "job.qvk").string()),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(f.editor.last_outcome(), Outcome::FileError);
}

TEST_F(FilesTest, ProjectRoundTripReplacesTheJob) {
    EditorFixture f;
    f.TypeRows({"L1", "端子X（2）", "A\xee\x80\x80"});  // the last holds symbol AA A1
    f.editor.OnRowClicked(1, COL_TEXT);
    f.editor.OnDecorationChanged(1);
    f.editor.CommitCell(1, COL_TEXT2, "B", false);
    testing::Grid(f.editor).SetCheck(2, false);
    f.editor.OnSpacingChanged(3);
    f.editor.OnMaterialChanged(1);
    f.editor.OnMaterialParamChanged(2);
    const std::string path = Save(f, "job.qvk");

    EditorFixture g;
    testing::Grid(g.editor).SetCellText(0, COL_TEXT,
                                        "old");  // one empty record: replaced without asking
    g.prompts.files.push_back(path);
    g.editor.OpenFile();
    EXPECT_TRUE(g.prompts.questions.empty());
    EXPECT_TRUE(g.prompts.messages.empty());
    EXPECT_EQ(g.editor.last_outcome(), Outcome::Done);
    ASSERT_EQ(g.editor.grid().GetItemCount(), 3);
    EXPECT_EQ(g.Cell(0, COL_TEXT), "L1");
    EXPECT_EQ(g.Cell(1, COL_TEXT), "端子X(2)");  // compiled in the edit form: punctuation replaced
    EXPECT_EQ(g.Cell(1, COL_TEXT2), "B");
    EXPECT_EQ(g.Cell(1, COL_DECORATION), "边框");
    EXPECT_EQ(g.Cell(2, COL_TEXT), "A\xee\x80\x80");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(g.editor.grid().GetCheck(i));
        EXPECT_EQ(g.Cell(i, COL_NUMBER), std::to_string(i + 1));
        EXPECT_EQ(g.Cell(i, COL_CURRENT), i == 0 ? "★" : "");
    }
    EXPECT_EQ(g.editor.current_row(), 0);
    EXPECT_EQ(g.editor.grid().GetCurrentColumn(), COL_TEXT);
    EXPECT_EQ(g.editor.settings().spacing, 3);
    EXPECT_EQ(g.editor.controls().spacing.selection, 3);
    EXPECT_EQ(g.editor.controls().material.selection, 1);
    EXPECT_EQ(g.editor.controls().material_param.entries[2], "12mm");
    EXPECT_EQ(g.editor.controls().material_param.selection, 2);
    // Rows added now copy the material the boxes show.
    EXPECT_EQ(text::field_text(g.editor.settings().material_code), "LAB");
    EXPECT_EQ(text::field_text(g.editor.settings().material_param), "12");
    EXPECT_EQ(model::segment_count(g.editor.segments().head()), 3);
}

TEST_F(FilesTest, OpenAsksAndAppendsOnNo) {
    EditorFixture f;
    f.TypeRows({"A", "B"});
    const std::string path = Save(f, "two.qvk");
    f.prompts.answers.push_back(false);
    f.prompts.files.push_back(path);
    f.editor.OpenFile();
    ASSERT_EQ(f.prompts.questions.size(), 1u);
    EXPECT_EQ(f.prompts.questions[0].text, "是否删除当前内容？");
    EXPECT_EQ(f.prompts.questions[0].caption, "提示");
    ASSERT_EQ(f.editor.grid().GetItemCount(), 4);
    EXPECT_EQ(f.Cell(2, COL_TEXT), "A");
    EXPECT_EQ(f.Cell(3, COL_NUMBER), "4");
    EXPECT_EQ(f.editor.current_row(), 0);
    EXPECT_EQ(model::segment_count(f.editor.segments().head()), 4);
    EXPECT_EQ(f.prompts.choosers.back().filter, "QVU(*.qvu)|*.qvu|QVK(*.qvk)|*.qvk|");
    EXPECT_EQ(f.prompts.choosers.back().default_extension, "qvu");
}

TEST_F(FilesTest, ABadFileChangesNothing) {
    EditorFixture f;
    f.TypeRows({"A", "B"});
    const std::string path = Save(f, "cut.qvk");
    const Bytes whole = Read(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(whole.data()),
               static_cast<std::streamsize>(whole.size() - 3));
    for (bool answer : {true, false}) {
        f.prompts.answers.push_back(answer);
        f.prompts.files.push_back(path);
        f.prompts.messages.clear();
        f.editor.OpenFile();
        ASSERT_EQ(f.prompts.messages.size(), 1u);
        EXPECT_NE(f.prompts.messages[0].text.find("不完整"), std::string::npos);
        EXPECT_EQ(f.prompts.messages[0].caption, "提示");
        EXPECT_EQ(f.editor.grid().GetItemCount(), 2);
        EXPECT_EQ(f.Cell(1, COL_TEXT), "B");
        EXPECT_EQ(model::segment_count(f.editor.segments().head()), 2);
        EXPECT_EQ(f.editor.last_outcome(), Outcome::FileError);
    }
}

TEST_F(FilesTest, AppendPastAThousandRowsIsRefused) {
    EditorFixture f;
    f.AddRows(599);
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A");
    const std::string path = Save(f, "six hundred.qvk");
    f.prompts.answers.push_back(false);
    f.prompts.files.push_back(path);
    f.editor.OpenFile();
    EXPECT_EQ(f.editor.grid().GetItemCount(), 600);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_NE(f.prompts.messages[0].text.find("1000"), std::string::npos);
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Refused);
}

TEST_F(FilesTest, UdiskFileWrittenAndReadBack) {
    EditorFixture f;
    f.TypeRows({"A\xee\x80\x80", "B"});  // symbol AA A1 goes out as A1 A1
    f.editor.OnCopiesChanged("3");
    f.editor.OnDensityChanged(11);  // 12, written 0x13
    f.prompts.files.push_back((dir / "Jobs" / "Job").string());
    f.editor.SaveUdiskFile();
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ(f.editor.last_outcome(), Outcome::Done);
    EXPECT_EQ(f.prompts.choosers[0].initial_name, "QVark");
    EXPECT_EQ(f.prompts.choosers[0].filter, "QVU(*.qvu)|*.qvu|");
    const fs::path written = dir / "Jobs" / "job.QVU";
    const Bytes b = Read(written);
    ASSERT_EQ(b.size(), 10u + 55 + 3 + 55 + 1);
    EXPECT_EQ(b[4], 3);
    EXPECT_EQ(b[6], 0x13);
    for (SegmentNode* n = testing::Records(f.editor).head(); n; n = n->next) {
        EXPECT_EQ(n->file_text_length, n->text_length);
    }

    EditorFixture g;
    g.prompts.files.push_back(written.string());
    g.editor.OpenFile();
    ASSERT_TRUE(g.prompts.messages.empty()) << g.prompts.messages[0].text;
    EXPECT_EQ(g.Cell(0, COL_TEXT), "A\xe3\x80\x80");  // A1 A1 in GBK
    EXPECT_EQ(g.editor.settings().copies, 3);
    EXPECT_EQ(g.editor.controls().copies_edit_text, "3");
    EXPECT_EQ(g.editor.settings().density, 12);
    EXPECT_EQ(g.editor.controls().density.selection, 11);
}

// Nothing printable: the user is told, and no file is made or emptied.
TEST_F(FilesTest, UdiskFileOfNothingWritesNothing) {
    const fs::path kept = dir / "Jobs" / "kept.qvu";
    const Bytes old{0x02, 'A', 0, 10, 1, 'C', 9, 0, 0, 'E'};
    std::ofstream(kept, std::ios::binary)
        .write(reinterpret_cast<const char*>(old.data()), static_cast<std::streamsize>(old.size()));
    for (const fs::path& target : {kept, dir / "Jobs" / "none.qvu"}) {
        SCOPED_TRACE(target.string());
        EditorFixture f;
        f.TypeRows({"A"});
        testing::Grid(f.editor).SetCheck(0, false);
        f.prompts.files.push_back(target.string());
        f.editor.SaveUdiskFile();
        EXPECT_EQ(f.prompts.Texts(), (std::vector<std::string>{"没有选择（或录入）打印内容！"}));
        EXPECT_EQ(f.editor.last_outcome(), Outcome::Refused);
    }
    EXPECT_EQ(Read(kept), old);
    EXPECT_FALSE(fs::exists(dir / "Jobs" / "none.qvu"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Jobs"), fs::directory_iterator()), 1);
}

// A refused two-line commit leaves the longer text in the cells; the next save, U-disk write or
// print cuts it and says so once, after the command. A text of exactly 50 bytes loses nothing.
TEST_F(FilesTest, RowsCutByTheCompilationAreReportedOnce) {
    enum Command { kSave, kUdisk, kPrint };
    for (Command command : {kSave, kUdisk, kPrint}) {
        SCOPED_TRACE(command);
        EditorFixture f;
        f.editor.OnFontSizeChanged(1);
        f.editor.OnAutoLength();  // every text up to 50 bytes fits
        f.TypeRows({std::string(30, 'A'), std::string(50, 'B'), std::string(30, 'C')});
        f.editor.OnRowClicked(0, COL_TEXT2);
        f.editor.CommitCell(0, COL_TEXT2, std::string(30, 'D'), false);
        f.editor.OnRowClicked(2, COL_TEXT2);
        f.editor.CommitCell(2, COL_TEXT2, std::string(25, 'E'), false);
        ASSERT_EQ(f.editor.grid().GetItemText(0, COL_TEXT2), std::string(30, 'D'));
        f.prompts.messages.clear();
        switch (command) {
            case kSave:
                Save(f, "cut.qvk");
                break;
            case kUdisk:
                f.prompts.files.push_back((dir / "Jobs" / "cut.qvu").string());
                f.editor.SaveUdiskFile();
                break;
            case kPrint:
                f.editor.OnPrint();
                ASSERT_EQ(f.printer.jobs().size(), 1u);
                break;
        }
        EXPECT_EQ(f.prompts.Texts(), (std::vector<std::string>{"共有2段超长！每段最大长度50！"}));
        EXPECT_EQ(testing::Records(f.editor).head()->text_length, 50);
    }
}

TEST_F(FilesTest, ExternalFontLibraryComesBackWithTheFile) {
    EditorFixture f;
    f.TypeRows({"A"});
    f.editor.OnExternalFontLibrary();
    const std::string path = Save(f, "out.qvk");
    EditorFixture g;
    g.prompts.files.push_back(path);
    g.editor.OpenFile();
    EXPECT_EQ(g.Cell(0, COL_SCALE), "out");
    EXPECT_TRUE(g.editor.controls().external_font);
    EXPECT_FALSE(g.editor.controls().local_font);
    EXPECT_FALSE(g.editor.controls().scale.enabled);
}

}  // namespace
}  // namespace qvprt::editor
