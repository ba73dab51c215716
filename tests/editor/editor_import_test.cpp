// The "Excel导入" command and paste from a spreadsheet, on small files made for each case.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor_access.h"
#include "fake_ports.h"
#include "files/sheet_fixtures.h"
#include "printing/job_stream.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

namespace fs = std::filesystem;
using model::SegmentNode;
using testing::EditorFixture;

// An inline-string cell of an .xlsx row.
std::string Str(const std::string& ref, const std::string& utf8) {
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" + utf8 +
           "</t></is></c>";
}
std::string Num(const std::string& ref, const std::string& v, int style = -1) {
    return "<c r=\"" + ref + "\"" + (style >= 0 ? " s=\"" + std::to_string(style) + "\"" : "") +
           "><v>" + v + "</v></c>";
}
std::string Row(int r, const std::string& cells) {
    return "<row r=\"" + std::to_string(r) + "\">" + cells + "</row>";
}

class ImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qvprt-import-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return Write(name, std::string(bytes.begin(), bytes.end()));
    }
    std::string Xlsx(const std::string& sheet_data, const std::string& name = "wires.xlsx") {
        return Write(name, files::testing::xlsx_file(sheet_data));
    }
    static void Import(EditorFixture& f, const std::string& path) {
        f.prompts.files.push_back(path);
        f.editor.OnExcelImport();
    }
    // Each row as "text|text2*repeat", from the cells, checked against its record.
    static std::vector<std::string> Rows(const EditorFixture& f) {
        std::vector<std::string> v;
        const SegmentNode* n = f.editor.segments().head();
        for (int r = 0; r < f.editor.grid().GetItemCount(); ++r, n = n->next) {
            EXPECT_NE(n, nullptr);
            if (n == nullptr) {
                break;
            }
            std::string want = f.editor.grid().GetItemText(r, COL_TEXT);
            if (!f.editor.grid().GetItemText(r, COL_TEXT2).empty()) {
                want += model::CODE_LINE_BREAK + f.editor.grid().GetItemText(r, COL_TEXT2);
            }
            EXPECT_EQ(want, std::string(n->text.data(), n->text_length)) << "row " << r;
            EXPECT_EQ(f.editor.grid().GetItemText(r, COL_REPEAT), std::to_string(n->repeat));
            v.push_back(f.Cell(r, COL_TEXT) + "|" + f.Cell(r, COL_TEXT2) + "*" +
                        f.Cell(r, COL_REPEAT));
        }
        EXPECT_EQ(n, nullptr) << "more records than rows";
        return v;
    }

    fs::path dir;
};

TEST_F(ImportTest, WorkbookWritesOverTheRowsAndLeavesTheOthers) {
    EditorFixture f;
    f.TypeRows({"old1", "old2", "old3", "old4"});
    f.prompts.messages.clear();
    f.view.status.clear();
    const std::string path = Xlsx(Row(1, Str("A1", "W1") + Str("B1", "L2") + Num("C1", "3")) +
                                  Row(2, Str("A2", "W2") + Num("C2", "250")) +
                                  Row(3, Str("C3", "9")) + Row(4, Str("A4", "after the end")));
    Import(f, path);
    ASSERT_EQ(1u, f.prompts.choosers.size());
    EXPECT_EQ("表格文件(*.xls;*.xlsx;*.ods;*.csv)|*.xls;*.xlsx;*.ods;*.csv|所有文件(*.*)|*.*|",
              text::gbk_to_utf8(f.prompts.choosers[0].filter));
    EXPECT_TRUE(f.prompts.choosers[0].must_exist);
    EXPECT_EQ((std::vector<std::string>{"W1|L2*3", "W2|*100", "old3|*1", "old4|*1"}), Rows(f));
    EXPECT_TRUE(f.prompts.messages.empty());
    // The status window is up, with its text, before the file is read.
    EXPECT_EQ(
        (std::vector<std::string>{"<none>", "", "<show>", "正在导入数据，请稍候...", "<hide>"}),
        f.view.status);
    EXPECT_EQ(0, f.editor.current_row());
    EXPECT_EQ("★", f.Cell(0, COL_CURRENT));
    // A second line takes font size 3.
    const SegmentNode& first = *f.editor.segments().head();
    EXPECT_EQ(1, first.double_line);
    EXPECT_EQ(0, first.auto_font);
    EXPECT_EQ(3, first.font_size);
    EXPECT_EQ("3", f.Cell(0, COL_FONTSIZE));
    EXPECT_EQ(0, f.editor.segments().at(1)->double_line);
}

TEST_F(ImportTest, WorkbookAppendsBeyondTheGridAndCsvReplacesIt) {
    EditorFixture f;
    f.TypeRows({"old1", "old2"});
    Import(f, Xlsx(Row(1, Str("A1", "W1")) + Row(2, Str("A2", "W2")) + Row(3, Str("A3", "W3"))));
    EXPECT_EQ((std::vector<std::string>{"W1|*1", "W2|*1", "W3|*1"}), Rows(f));
    EXPECT_EQ("3", f.Cell(2, COL_NUMBER));

    Import(f, Write("wires.csv", "A1,B2,3,x\r\n\r\nX\r\n,Y\r\n"));
    EXPECT_EQ((std::vector<std::string>{"A1|B2*3", "X|*1", "|Y*1"}), Rows(f));
    EXPECT_EQ(0, f.editor.current_row());
    EXPECT_TRUE(f.prompts.messages.empty());
}

TEST_F(ImportTest, EveryWrittenRowIsFittedInBothPaths) {
    for (const bool csv : {false, true}) {
        SCOPED_TRACE(csv ? "csv" : "workbook");
        EditorFixture f;
        // Fixed length 10 mm with the automatic font size, as new rows take it.
        f.editor.OnFixedLength();
        f.editor.OnEditTextChanged(Control::LengthEdit, "10");
        f.editor.OnSetLength();
        f.editor.OnFontSizeChanged(0);
        f.editor.OnExternalFontLibrary();
        const std::string path = csv ? Write("w.csv", "A\r\nWWWW\r\n")
                                     : Xlsx(Row(1, Str("A1", "A")) + Row(2, Str("A2", "WWWW")));
        Import(f, path);
        ASSERT_EQ(2, f.editor.grid().GetItemCount());
        for (int r = 0; r < 2; ++r) {
            const SegmentNode& n = *f.editor.segments().at(r);
            EXPECT_EQ(0, n.auto_length);
            EXPECT_EQ(1, n.auto_font);
            EXPECT_EQ(2, n.char_scale);
            EXPECT_EQ("out", f.Cell(r, COL_SCALE));
            EXPECT_NE(0, n.content_dots) << "measured";
        }
        // The short text grows to a larger size than the long one; neither stays at 0.
        const int small = f.editor.segments().at(1)->font_size;
        const int large = f.editor.segments().at(0)->font_size;
        EXPECT_GT(small, 0);
        EXPECT_GT(large, small);
    }
}

TEST_F(ImportTest, AFileThatCannotBeImportedChangesNothing) {
    const struct {
        const char* name;
        std::string bytes;
        const char* message;  // start of the message, UTF-8
    } cases[] = {
        {"damaged.xlsx", "PK\x03\x04 not really a zip", nullptr},
        {"empty.csv", "", nullptr},
        {"blank.csv", "\r\n\r\n,\r\n", "文件“"},
        {"blank.xlsx", "", "文件“"},
        {"overlong.csv", std::string(51, 'x') + "\r\n", "文件“"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        f.TypeRows({"keep1", "keep2"});
        f.editor.OnCopiesChanged("7");
        const model::JobSettings settings = f.editor.settings();
        f.prompts.messages.clear();
        std::string path;
        if (std::string(c.name) == "blank.xlsx") {
            path =
                Xlsx(Row(1, "<c r=\"A1\" t=\"b\"><v>1</v></c>") + Row(2, Str("A2", "W")), c.name);
        } else {
            path = Write(c.name, c.bytes);
        }
        Import(f, path);
        EXPECT_EQ((std::vector<std::string>{"keep1|*1", "keep2|*1"}), Rows(f));
        EXPECT_EQ(0, std::memcmp(&settings, &f.editor.settings(), sizeof settings));
        EXPECT_EQ(Outcome::FileError, f.editor.last_outcome());
        ASSERT_FALSE(f.prompts.messages.empty());
        EXPECT_EQ("提示", f.prompts.messages[0].caption);
        if (c.message != nullptr) {
            EXPECT_EQ(0u, f.prompts.messages[0].text.find(c.message)) << f.prompts.messages[0].text;
            EXPECT_NE(std::string::npos, f.prompts.messages[0].text.find("没有可导入的行"));
        }
        EXPECT_EQ("<hide>", f.view.status.back());
    }
}

TEST_F(ImportTest, OverlongAndUnencodableRowsAreLeftOutAndCountedOnce) {
    EditorFixture f;
    const std::string a30(30, 'a'), b19(19, 'b'), b20(20, 'b');
    Import(f, Write("w.csv", a30 + "," + b19 + "\r\n" + a30 + "," + b20 + "\r\n" +
                                 std::string(51, 'c') + "\r\nW\xF0\x9F\x98\x80\r\n" +
                                 "bell\x07,tab\there\r\nlast\r\n"));
    EXPECT_EQ((std::vector<std::string>{a30 + "|" + b19 + "*1", "bell|tab here*1", "last|*1"}),
              Rows(f));
    EXPECT_EQ(2, f.editor.overlong_count());
    EXPECT_EQ((std::vector<std::string>{"共有2段超长！每段最大长度50！",
                                        "共有1段含有无法打印的字符（GBK字符集中没有），未导入！"}),
              f.prompts.Texts());
}

TEST_F(ImportTest, BothPathsStopAtThePrintersLimit) {
    // 10 bytes of header and end, 55 + n per record. Two short rows (56 bytes each) and then rows
    // of 50 bytes (105 each).
    const std::string fifty(50, 'x');
    std::string csv, sheet;
    for (int r = 1; r <= 700; ++r) {
        const std::string text = r <= 2 ? "s" : fifty;
        csv += text + "\r\n";
        sheet += Row(r, Str("A" + std::to_string(r), text));
    }
    for (const bool workbook : {false, true}) {
        SCOPED_TRACE(workbook ? "workbook" : "csv");
        EditorFixture f;
        // Row 586 holds "kept" (59 bytes): the workbook reaches 61442 bytes when it writes over
        // it, and puts it back as it was. The CSV path starts from an empty grid and reaches
        // 10 + 2 * 56 + 584 * 105 = 61442 bytes with its 586th row.
        f.AddRows(599);
        f.editor.OnRowClicked(585, COL_TEXT);
        f.editor.CommitCell(585, COL_TEXT, "kept", false);
        f.prompts.messages.clear();
        Import(f, workbook ? Xlsx(sheet) : Write("w.csv", csv));
        const std::vector<std::string> rows = Rows(f);
        ASSERT_EQ(workbook ? 600u : 585u, rows.size());
        EXPECT_EQ(fifty + "|*1", rows[584]);
        if (workbook) {
            EXPECT_EQ("kept|*1", rows[585]);
            EXPECT_EQ("|*1", rows[586]);
        }
        EXPECT_LT(printing::encoded_job_size(testing::Records(f.editor).head()),
                  printing::kMaxJobBytes);
        EXPECT_EQ((std::vector<std::string>{"已经超出最大打印量！已导入585段，其余未导入。"}),
                  f.prompts.Texts());
        EXPECT_EQ(Outcome::Refused, f.editor.last_outcome());
    }
}

TEST_F(ImportTest, CellsBecomeTheTextsTheSheetShows) {
    EditorFixture f;
    const std::string styles =
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"000\"/></numFmts>"
        "<cellXfs count=\"3\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/>"
        "</cellXfs></styleSheet>";
    const std::string path = Write(
        "w.xlsx",
        files::testing::xlsx_file(
            Row(1, Num("A1", "12") + Num("B1", "3.25")) + Row(2, Num("A2", "7", 1)) +
                Row(3, Num("A3", "44197", 2) + Num("B3", "0.5", 2)) +
                Row(4, Str("A4", "电线") + "<c r=\"B4\" t=\"b\"><v>1</v></c>") +
                Row(5, Str("A5", "a&#10;b&#9;c&#13;") + "<c r=\"B5\" t=\"e\"><v>#N/A</v></c>"),
            {{"xl/styles.xml", styles}}));
    Import(f, path);
    EXPECT_EQ((std::vector<std::string>{"12|3.25*1", "007|*1", "2021-01-01|12:00:00*1", "电线|*1",
                                        "a b c |*1"}),
              Rows(f));
}

TEST_F(ImportTest, CancelledChooserChangesNothing) {
    EditorFixture f;
    f.TypeRows({"keep"});
    f.prompts.files.push_back(std::nullopt);
    f.editor.OnExcelImport();
    EXPECT_EQ(Outcome::Cancelled, f.editor.last_outcome());
    EXPECT_EQ((std::vector<std::string>{"keep|*1"}), Rows(f));
    EXPECT_TRUE(f.view.status.empty() || f.view.status.back() != "<show>");
}

TEST_F(ImportTest, PasteARangeFromTheCurrentRowDown) {
    EditorFixture f;
    f.TypeRows({"r1", "r2", "r3"});
    f.editor.OnRowClicked(1, COL_TEXT);
    f.prompts.messages.clear();
    // Three columns copied in a spreadsheet program, a quoted cell with a line break included.
    f.editor.PasteText("W1\tL1\t2\r\n\"W\n2\"\t\t5\r\nW3\t\t\r\n");
    EXPECT_EQ((std::vector<std::string>{"r1|*1", "W1|L1*2", "W 2|*5", "W3|*1"}), Rows(f));
    EXPECT_EQ(1, f.editor.current_row());
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ("3", f.Cell(1, COL_FONTSIZE));
}

TEST_F(ImportTest, PasteASingleValueIntoTheTextCell) {
    EditorFixture f;
    f.TypeRows({"r1", "r2"});
    f.editor.OnRowClicked(0, COL_TEXT);
    f.editor.CommitCell(0, COL_REPEAT, "4", false);
    f.editor.PasteText("W007\r\n");  // one copied cell ends with a line break
    EXPECT_EQ((std::vector<std::string>{"W007|*4", "r2|*1"}), Rows(f));
    f.editor.PasteText("\xF0\x9F\x98\x80");
    EXPECT_EQ("W007", f.Cell(0, COL_TEXT));
    f.prompts.messages.clear();
    f.editor.PasteText(std::string(51, 'x'));
    EXPECT_EQ((std::vector<std::string>{"输入内容超长！"}), f.prompts.Texts());
    EXPECT_EQ((std::vector<std::string>{"W007|*4", "r2|*1"}), Rows(f));
}

TEST_F(ImportTest, PasteStopsAtTheLastRow) {
    EditorFixture f;
    f.AddRows(997);
    f.editor.OnRowClicked(997, COL_TEXT);
    f.prompts.messages.clear();
    f.editor.PasteText("a\r\nb\r\nc\r\nd\r\ne\r\n");
    EXPECT_EQ(1000, f.editor.grid().GetItemCount());
    EXPECT_EQ("c", f.Cell(999, COL_TEXT));
    EXPECT_EQ((std::vector<std::string>{"已经到最大行数！另有2段未导入。"}), f.prompts.Texts());
}

}  // namespace
}  // namespace qvprt::editor
