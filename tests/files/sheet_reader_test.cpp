// The spreadsheet readers on small made files: CSV quoting and encodings, and every kind of broken
// or hostile file, each refused with its own message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/file_messages.h"
#include "files/file_test_util.h"
#include "files/sheet_fixtures.h"
#include "files/sheet_reader.h"
#include "sheet_fuzz_input.h"
#include "text/gbk.h"

namespace qvprt::files {
namespace {

using testing::Bytes;

Bytes bytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

SheetResult parse(const Bytes& b, const std::string& corpus_name = {}) {
    if (!corpus_name.empty()) {
        testing::keep_in_corpus(corpus_name, b);
    }
    return parse_sheet(b, "t");
}

std::string cell_text(const Sheet& s, std::size_t row, std::size_t col) {
    return row < s.rows.size() ? s.rows[row][col].text : "<no row>";
}

struct CsvCase {
    const char* what;
    std::string file;
    std::vector<std::vector<std::string>> rows;  // A, B, C of every row kept
};

TEST(SheetReader, CsvRecordsAsSpreadsheetsWriteThem) {
    const std::vector<CsvCase> cases = {
        {"quoted commas and doubled quotes",
         "\"A,B\",\"say \"\"hi\"\"\",3\r\n",
         {{"A,B", "say \"hi\"", "3"}}},
        {"line break inside quotes",
         "\"L1\nL2\",x\r\nnext,y\r\n",
         {{"L1\nL2", "x", ""}, {"next", "y", ""}}},
        {"CR, LF and CRLF ends, last line without one",
         "a,1\rb,2\nc,3\r\nd,4",
         {{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}, {"d", "4", ""}}},
        {"fields keep spaces; columns past C ignored", " A , B ,5,x,y\n", {{" A ", " B ", "5"}}},
        {"a quote inside a field is text", "ab\"c,d\n", {{"ab\"c", "d", ""}}},
        {"records without A and B skipped", "\n,,7\n,Y\n", {{"", "Y", ""}}},
        {"unclosed quote runs to the end", "\"open,x\nmore", {{"open,x\nmore", "", ""}}},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF\xE7\xBA\xBF,1\n", {{"线", "1", ""}}},
        {"GBK without mark", "\xCF\xDF\xBA\xC5,2\n", {{"线号", "2", ""}}},
        // A byte that is no GBK code: U+FFFD in its cell, nothing lost elsewhere.
        {"GBK with a stray byte",
         "\xCF\xDF\x80,\xBA\xC5,\xFF\xFF\xFF\n",
         {{"线\xEF\xBF\xBD", "号", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}}},
    };
    for (const CsvCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SheetResult r = parse(bytes(c.file), std::string("csv-") + c.what + ".csv");
        ASSERT_TRUE(r.ok()) << text::gbk_to_utf8(r.message);
        EXPECT_EQ(SheetKind::Csv, r.kind);
        ASSERT_EQ(c.rows.size(), r.sheet.rows.size());
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            for (std::size_t col = 0; col < 3; ++col) {
                EXPECT_EQ(c.rows[i][col], cell_text(r.sheet, i, col)) << "row " << i;
                EXPECT_EQ(c.rows[i][col].empty(), r.sheet.rows[i][col].type == CellType::Empty);
            }
        }
    }
}

TEST(SheetReader, CsvStopsAtAThousandRecords) {
    std::string file;
    for (int i = 0; i < 2000; ++i) {
        file += "r" + std::to_string(i) + ",,1\n";
    }
    const SheetResult r = parse(bytes(file));
    ASSERT_EQ(static_cast<std::size_t>(kSheetRows), r.sheet.rows.size());
    EXPECT_EQ("r999", r.sheet.rows.back()[0].text);
}

struct BrokenCase {
    const char* what;
    Bytes file;
    SheetError error;
    std::string detail;  // the message holds it (UTF-8), when given
};

std::string nested(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) {
        s += "<x>";
    }
    return s;
}

TEST(SheetReader, BrokenAndHostileFilesAreRefusedWithTheirMessage) {
    using namespace testing;
    const Bytes good_xlsx =
        xlsx_file("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>W1</t></is></c></row>");
    const Bytes good_xls = xls_file(biff_workbook("", biff_label(0, 0, "W1")));
    const std::vector<BrokenCase> cases = {
        {"zero-length", {}, SheetError::Empty, "空文件"},
        {"web page saved as .xls", bytes("\r\n<html><body><table></table></body></html>"),
         SheetError::Html, "网页"},
        {"PDF", bytes("%PDF-1.4\n..."), SheetError::NotSpreadsheet, "PDF文件"},
        {"binary", bytes(std::string("ab\0cd", 5)), SheetError::NotSpreadsheet, "不是电子表格"},
        {"a zip without a workbook", make_zip({{"word/document.xml", "<w/>"}}),
         SheetError::OtherZip, "ZIP"},
        {"a text document's zip",
         make_zip(
             {{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", "<a/>"}}),
         SheetError::OtherZip, ""},
        {"a compound file without a workbook", make_ole({{"WordDocument", "x"}}),
         SheetError::OtherCompound, "OLE"},
        {"Excel 95 in a compound file", make_ole({{"Book", bof(5)}}), SheetError::OldExcel,
         "Excel 95"},
        {"Excel 4 stream", bytes(std::string("\x09\x04\x06\x00\x00\x00\x10\x00\x00\x00", 10)),
         SheetError::OldExcel, ""},
        {"BIFF5 workbook stream",
         xls_file(biff(0x0809, le16(0x0500) + le16(5) + std::string(4, '\0')) + eof()),
         SheetError::OldExcel, ""},
        {"encrypted .xlsx", make_ole({{"EncryptionInfo", "x"}, {"EncryptedPackage", "y"}}),
         SheetError::Encrypted, "密码"},
        {"encrypted .xls", xls_file(biff_workbook(biff(0x002F, std::string(6, '\0')), "")),
         SheetError::Encrypted, ""},
        {"truncated .xlsx", Bytes(good_xlsx.begin(), good_xlsx.begin() + good_xlsx.size() / 2),
         SheetError::Damaged, "ZIP"},
        {"truncated .xls", Bytes(good_xls.begin(), good_xls.begin() + good_xls.size() / 2),
         SheetError::Damaged, ""},
        {"workbook stream cut inside a record",
         xls_file(biff_workbook("", biff_label(0, 0, "W1")).substr(0, 60)), SheetError::Damaged,
         ""},
        {"sheet offset past the stream",
         xls_file(bof(5) + biff(0x0085, le32(1u << 30) + le16(0) + std::string("\1\0S", 3)) +
                  eof()),
         SheetError::Damaged, "位置"},
        {"shared string index past the table",
         xls_file(biff_workbook(biff(0x00FC, le32(1) + le32(1) + biff_text("a")),
                                biff(0x00FD, le16(0) + le16(0) + le16(0) + le32(7)))),
         SheetError::Damaged, "共享字符串"},
        {"string longer than its record",
         xls_file(biff_workbook("", biff(0x0204, le16(0) + le16(0) + le16(0) + le16(500) +
                                                     std::string(1, '\0') + "abc"))),
         SheetError::Damaged, "不完整"},
        {"xlsx shared string index past the table", xlsx_file("<row><c t=\"s\"><v>5</v></c></row>"),
         SheetError::Damaged, "共享字符串"},
        {"xlsx XML nested without end", xlsx_file(nested(100000)), SheetError::Damaged, "嵌套"},
        {"xlsx XML broken", xlsx_file("<row><c><v>1</c></row>"), SheetError::Damaged, "XML"},
        {"xlsx without sheets",
         xlsx_file("", {{"xl/workbook.xml", "<workbook><sheets/></workbook>"}}),
         SheetError::NoSheet, ""},
        {"xlsx sheet part missing",
         xlsx_file("", {{"xl/_rels/workbook.xml.rels",
                         "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                         "Target=\"worksheets/none.xml\"/></Relationships>"}}),
         SheetError::Damaged, "缺少“xl/worksheets/none.xml”"},
        {"ods XML nested without end", ods_file(nested(5000)), SheetError::Damaged, "嵌套"},
        {"ods bad number",
         ods_file("<table:table-row><table:table-cell office:value-type=\"float\" "
                  "office:value=\"1x\"/></table:table-row>"),
         SheetError::Damaged, "1x"},
        // 65 MiB of spaces pack into about 65 KB.
        {"zip bomb", xlsx_file("", {{"xl/worksheets/sheet1.xml", std::string(65u << 20, ' ')}}),
         SheetError::PartTooLarge, "64MB"},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SheetResult r = parse(c.file);
        EXPECT_EQ(c.error, r.error);
        const std::string message = text::gbk_to_utf8(r.message);
        EXPECT_NE(std::string::npos, message.find(c.detail)) << message;
        EXPECT_NE(std::string::npos, message.find("“t”")) << message;
        EXPECT_TRUE(r.sheet.rows.empty());
    }
}

TEST(SheetReader, MessagesAsTheUserReadsThem) {
    EXPECT_EQ(
        text::gbk(
            "文件“a.xls”是网页（HTML），不是电子表格，未读入任何内容。请在表格软件中把它另存为"
            ".xlsx、.xls或CSV文件后再导入。"),
        sheet_error_message(SheetError::Html, "a.xls"));
    EXPECT_EQ(
        text::gbk(
            "文件“b.xlsx”中的“xl/worksheets/sheet1.xml”解压后超过128MB，可能是恶意构造的文件，"
            "未读入任何内容。"),
        sheet_error_message(SheetError::PartTooLarge, "b.xlsx", "xl/worksheets/sheet1.xml", "128"));
    const SheetResult missing = read_sheet("/nonexistent/线号.xlsx");
    EXPECT_EQ(SheetError::OpenFailed, missing.error);
    EXPECT_EQ(0u,
              text::gbk_to_utf8(missing.message).find("无法打开文件“/nonexistent/线号.xlsx”："));
}

// Counts in headers and repeat attributes are never trusted to size anything.
TEST(SheetReader, AbsurdCountsCostNothing) {
    using namespace testing;
    const SheetResult sst =
        parse(xls_file(biff_workbook(
                  biff(0x00FC, le32(0xFFFFFFFF) + le32(0xFFFFFFFF) + biff_text("only")),
                  biff(0x00FD, le16(0) + le16(0) + le16(0) + le32(0)))),
              "xls-absurd-sst.xls");
    ASSERT_TRUE(sst.ok()) << text::gbk_to_utf8(sst.message);
    EXPECT_EQ("only", cell_text(sst.sheet, 0, 0));

    const SheetResult ods = parse(
        ods_file("<table:table-row table:number-rows-repeated=\"2000000000\"><table:table-cell "
                 "table:number-columns-repeated=\"2000000000\" "
                 "office:value-type=\"string\"><text:p>R</text:p>"
                 "</table:table-cell></table:table-row><table:table-row "
                 "table:number-rows-repeated=\"9223372036854775807\">"
                 "<table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row>"),
        "ods-repeats.ods");
    ASSERT_TRUE(ods.ok()) << text::gbk_to_utf8(ods.message);
    ASSERT_EQ(static_cast<std::size_t>(kSheetRows), ods.sheet.rows.size());
    EXPECT_EQ("R", cell_text(ods.sheet, 999, 2));

    const SheetResult xlsx =
        parse(xlsx_file("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>a</t></is></c><c "
                        "r=\"XFD1\"><v>1</v></c></row>"
                        "<row r=\"4294967296\"><c><v>2</v></c></row>"),
              "xlsx-absurd-rows.xlsx");
    ASSERT_TRUE(xlsx.ok()) << text::gbk_to_utf8(xlsx.message);
    ASSERT_EQ(1u, xlsx.sheet.rows.size());
}

// The pieces the samples use rarely: a string split across CONTINUE records with a change from
// 8-bit to 16-bit characters, and cells and rows without an r attribute.
TEST(SheetReader, SplitStringsAndUnnumberedCells) {
    using namespace testing;
    const std::string sst =
        biff(0x00FC, le32(1) + le32(1) + le16(4) + std::string(1, '\0') + "ab") +
        biff(0x003C, std::string(1, '\1') + std::string("\xBF\x7E\xF7\x53", 4));
    const SheetResult xls =
        parse(xls_file(biff_workbook(sst, biff(0x00FD, le16(0) + le16(1) + le16(0) + le32(0)))),
              "xls-continue.xls");
    ASSERT_TRUE(xls.ok()) << text::gbk_to_utf8(xls.message);
    EXPECT_EQ("ab线号", cell_text(xls.sheet, 0, 1));

    // A formula's text result arrives in the STRING record after it, even when a cell of a later
    // row came between them and the rows had to grow.
    const std::string formula =
        biff(0x0006, le16(0) + le16(0) + le16(0) + std::string("\0\0\0\0\0\0\xFF\xFF", 8) +
                         le16(0) + le32(0) + le16(0));
    const SheetResult moved =
        parse(xls_file(biff_workbook(
                  "", formula + biff_label(900, 0, "far") + biff(0x0207, biff_text("cached")))),
              "xls-formula-string.xls");
    ASSERT_TRUE(moved.ok()) << text::gbk_to_utf8(moved.message);
    EXPECT_EQ("cached", cell_text(moved.sheet, 0, 0));
    EXPECT_EQ("far", cell_text(moved.sheet, 900, 0));

    const SheetResult xlsx =
        parse(xlsx_file("<row><c t=\"inlineStr\"><is><t>A1</t></is></c><c "
                        "t=\"inlineStr\"><is><t>B1</t></is></c></row>"
                        "<row><c t=\"b\"><v>1</v></c><c "
                        "t=\"e\"><v>#N/A</v></c><c><f>1+1</f><v>2</v></c></row>"),
              "xlsx-no-r.xlsx");
    ASSERT_TRUE(xlsx.ok()) << text::gbk_to_utf8(xlsx.message);
    ASSERT_EQ(2u, xlsx.sheet.rows.size());
    EXPECT_EQ("B1", cell_text(xlsx.sheet, 0, 1));
    EXPECT_TRUE(xlsx.sheet.rows[1][0].boolean);
    EXPECT_EQ("#N/A", cell_text(xlsx.sheet, 1, 1));
    EXPECT_EQ(2.0, xlsx.sheet.rows[1][2].number);
    EXPECT_TRUE(xlsx.sheet.rows[1][2].formula);
}

// What the fuzz targets found, named by the reader they were found in.
TEST(SheetReader, FuzzFindingsStaySound) {
    for (const auto& entry : std::filesystem::directory_iterator(QVPRT_SHEET_FUZZ_DATA)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const SheetKind kind = name.starts_with("xlsx-")  ? SheetKind::Xlsx
                               : name.starts_with("xls-") ? SheetKind::Xls
                               : name.starts_with("ods-") ? SheetKind::Ods
                                                          : SheetKind::Csv;
        const Bytes b = testing::read_bytes(entry.path().string());
        EXPECT_TRUE(
            fuzz::sound(fuzz::parse_fuzz_input(kind, b.data(), b.size()), kind == SheetKind::Csv));
        const SheetResult r = parse_sheet(b, "t");
        EXPECT_EQ(r.ok(), r.message.empty());
    }
}

}  // namespace
}  // namespace qvprt::files
