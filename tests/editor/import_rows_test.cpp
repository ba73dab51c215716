// Cells to texts and the choice of rows an import writes.
#include "editor/import_rows.h"

#include <gtest/gtest.h>

#include "text/gbk.h"

namespace qvprt::editor {
namespace {

using files::CellType;
using files::SheetCell;
using files::SheetRow;

TEST(ImportRows, TrimNumberText) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"12.000000", "12"},  {"2.500000", "2.5"},   {"0.000000", "0"}, {"100.000000", "100"},
        {"3.250000", "3.25"}, {"-0.500000", "-0.5"}, {"100", "100"},    {"0", "0"},
        {".", "."},           {"10.", "10"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, trim_number_text(c.in)) << c.in;
    }
}

TEST(ImportRows, NumberText) {
    const struct {
        double value;
        const char* format;
        const char* text;
    } cases[] = {
        {12, "", "12"},
        {3.25, "", "3.25"},
        {100, "", "100"},
        {0, "", "0"},
        {-0.0, "", "0"},
        {-5, "", "-5"},
        {0.1111111, "0.0000000", "0.111111"},  // six decimals at most, as "%0f" writes them
        {1e20, "", "100000000000000000000"},
        // Only a pure zeros format pads: the wire number the cell shows.
        {7, "000", "007"},
        {42, "0000", "0042"},
        {-7, "000", "-007"},
        {1234, "000", "1234"},
        {7.5, "000", "7.5"},
        {7, "0.00", "7"},
        {7, "#,##0", "7"},
        {7, "builtin:1", "7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, number_text(c.value, c.format)) << c.value << " " << c.format;
    }
}

TEST(ImportRows, ControlCharactersNeverReachTheText) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"A\r\nB", "A B"},
        {"A\nB", "A B"},
        {"A\rB", "A B"},
        {"A\tB", "A B"},
        {"A\r\n\r\nB", "A  B"},
        {"\x1A"
         "X\x1C"
         "2\x12",
         "X2"},
        {"\x01\x1F", ""},
        {"W 1~", "W 1~"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.out, sanitize_cell_text(c.in)) << c.in;
    }
}

SheetCell String(const char* utf8) {
    SheetCell c;
    c.type = CellType::String;
    c.text = utf8;
    return c;
}

SheetCell Number(double v, const char* format = "") {
    SheetCell c;
    c.type = CellType::Number;
    c.number = v;
    c.format = format;
    return c;
}

SheetCell Date(files::SheetDateTime d) {
    SheetCell c;
    c.type = CellType::Date;
    c.date = d;
    return c;
}

SheetCell Bool() {
    SheetCell c;
    c.type = CellType::Bool;
    return c;
}

TEST(ImportRows, CellText) {
    SheetCell boolean = Bool();
    boolean.boolean = true;
    SheetCell error;
    error.type = CellType::Error;
    error.text = "#DIV/0!";
    const struct {
        SheetCell cell;
        std::string gbk;
        bool refused;
    } cases[] = {
        {String("电机M1"), text::gbk("电机M1"), false},
        {String("x\ny"), "x y", false},
        {String("A\xF0\x9F\x98\x80"), "", true},  // an emoji has no GBK code
        {String("\xF0\xA0\x80\x80"), "", true},   // U+20000: only a four-byte GB18030 code
        {Number(12), "12", false},
        {Number(7, "000"), "007", false},
        {Date({true, false, 2021, 1, 2, 0, 0, 0}), "2021-01-02", false},
        {Date({true, false, 2014, 12, 31, 8, 17, 40}), "2014-12-31", false},
        {Date({false, false, 1899, 12, 30, 11, 12, 12}), "11:12:12", false},
        {Date({false, true, 1899, 12, 30, 5, 0, 9}), "05:00:09", false},
        // 27:17:54 elapsed is the day after the null date.
        {Date({false, true, 1899, 12, 31, 27, 17, 54}), "1899-12-31", false},
        {boolean, "", false},
        {error, "", false},
        {SheetCell{}, "", false},
    };
    for (const auto& c : cases) {
        const CellText t = cell_text(c.cell);
        EXPECT_EQ(c.gbk, t.gbk) << c.cell.text << c.cell.number;
        EXPECT_EQ(c.refused, t.refused) << c.cell.text;
    }
}

TEST(ImportRows, Repeat) {
    const struct {
        const char* text;
        int repeat;
    } cases[] = {
        {"", 1},
        {"0", 1},
        {"-5", 1},
        {"250", 100},
        {"abc", 1},
        {"3", 3},
        {" 7", 7},
        {"+8", 8},
        {"12abc", 12},
        {"2.7", 2},
        {"100", 100},
        {"99999999999999999999999", 100},
        {"-99999999999999999999999", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.repeat, import_repeat(c.text)) << c.text;
    }
}

TEST(ImportRows, OneRecordHoldsFiftyBytesWithTheLineBreak) {
    const std::string s30(30, 'a'), s19(19, 'b'), s20(20, 'b'), s21(21, 'b');
    const struct {
        std::string a, b;
        bool fits;
    } cases[] = {
        {s30, s19, true},
        // 30 + 20 with the line break would store 51 bytes and lose the last one.
        {s30, s20, false},
        {s30, s21, false},
        {std::string(50, 'a'), "", true},
        {std::string(51, 'a'), "", false},
        {"", std::string(49, 'b'), true},
        {"", std::string(50, 'b'), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.fits, fits_one_record(c.a, c.b)) << c.a.size() << "+" << c.b.size();
    }
}

SheetRow Row(SheetCell a, SheetCell b = {}, SheetCell c = {}) {
    return {a, b, c};
}

std::vector<std::string> Targets(const ImportPlan& p) {
    std::vector<std::string> v;
    for (const ImportRow& r : p.rows) {
        v.push_back(std::to_string(r.row) + ":" + text::gbk_to_utf8(r.line1) + "|" +
                    text::gbk_to_utf8(r.line2) + "*" + std::to_string(r.repeat));
    }
    return v;
}

TEST(ImportRows, WorkbookRowsEndAtTheFirstRowWithoutText) {
    const std::vector<SheetRow> rows = {
        Row(String("A1"), String("B1"), Number(3)),
        Row(String(""), String("Y"), String("abc")),
        Row(Number(12), {}, Number(250)),
        // A boolean and an empty cell give no text: the list ends here.
        Row(Bool(), {}, Number(5)),
        Row(String("after the end")),
    };
    const ImportPlan p = plan_import(rows, ImportPath::Workbook);
    EXPECT_EQ((std::vector<std::string>{"1:A1|B1*3", "2:|Y*1", "3:12|*100"}), Targets(p));
}

TEST(ImportRows, RowsLeftOutKeepTheirPlaceInAWorkbook) {
    const std::vector<SheetRow> rows = {
        Row(String(std::string(30, 'a').c_str()), String(std::string(20, 'b').c_str())),
        Row(String("\xF0\x9F\x98\x80")),
        Row(String("ok"), {},
            String("\xF0\x9F\x98\x80"
                   "7")),
        Row(String("last")),
    };
    const ImportPlan p = plan_import(rows, ImportPath::Workbook, 5, 7);
    EXPECT_EQ((std::vector<std::string>{"7:ok|*1"}), Targets(p));
    EXPECT_EQ(1, p.overlong);
    EXPECT_EQ(1, p.refused);
    EXPECT_EQ(1, p.past_last_row);
}

TEST(ImportRows, CsvRecordsFillRowsInOrderAndSkipEmptyOnes) {
    const std::vector<SheetRow> rows = {
        Row(String("A1"), String("B2"), String("3")),
        Row(String("\x01")),  // only a control character: no text
        Row(String("X")),
        Row(String(std::string(51, 'x').c_str())),
        Row(String(""), String("Y")),
    };
    const ImportPlan p = plan_import(rows, ImportPath::Csv);
    EXPECT_EQ((std::vector<std::string>{"1:A1|B2*3", "2:X|*1", "3:|Y*1"}), Targets(p));
    EXPECT_EQ(1, p.overlong);
    std::vector<SheetRow> many(2000, Row(String("w")));
    EXPECT_EQ(1000u, plan_import(many, ImportPath::Csv).rows.size());
}

TEST(ImportRows, ClipboardRanges) {
    const struct {
        const char* clip;
        std::vector<std::vector<std::string>> rows;  // A, B, C; "-" for an empty cell
    } cases[] = {
        {"a\tb\t3\r\nc\td\t4\r\n", {{"a", "b", "3"}, {"c", "d", "4"}}},
        {"a\tb\nc\td", {{"a", "b", "-"}, {"c", "d", "-"}}},
        {"a\rb\r", {{"a", "-", "-"}, {"b", "-", "-"}}},
        {"\"x\ty\"\t\"line1\nline2\"\t\"say \"\"hi\"\"\"\r\n",
         {{"x\ty", "line1\nline2", "say \"hi\""}}},
        {"a\t\t5\tignored\tmore\r\n", {{"a", "-", "5"}}},
        {"\t\t\r\nz\r\n", {{"-", "-", "-"}, {"z", "-", "-"}}},
        {"5\"\tx", {{"5\"", "x", "-"}}},
    };
    for (const auto& c : cases) {
        const std::vector<SheetRow> rows = parse_clipboard_rows(c.clip);
        std::vector<std::vector<std::string>> got;
        for (const SheetRow& r : rows) {
            std::vector<std::string> cells;
            for (const SheetCell& cell : r) {
                cells.push_back(cell.type == CellType::Empty ? "-" : cell.text);
            }
            got.push_back(cells);
        }
        EXPECT_EQ(c.rows, got) << c.clip;
    }
}

TEST(ImportRows, RangeOrSingleValue) {
    const struct {
        const char* clip;
        bool range;
        const char* single;
    } cases[] = {
        {"W007", false, "W007"}, {"W007\r\n", false, "W007"},   {"W007\n", false, "W007"},
        {"a\tb", true, nullptr}, {"a\r\nb\r\n", true, nullptr}, {"a\n\n", true, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.range, is_cell_range(c.clip)) << c.clip;
        if (c.single != nullptr) {
            EXPECT_EQ(c.single, single_value(c.clip));
        }
    }
}

}  // namespace
}  // namespace qvprt::editor
