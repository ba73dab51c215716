#pragma once
// The rows a spreadsheet gives the grid: cells become GBK texts, and the rows that may be written
// are chosen before anything of the open job changes. No editor state is touched here.

#include <string>
#include <string_view>
#include <vector>

#include "files/sheet_reader.h"

namespace qvprt::editor {

// One row for write_import_row.
struct ImportRow {
    int row = 0;               // 1-based target row
    std::string line1, line2;  // GBK, control characters already taken out
    int repeat = 1;            // 1..100
};

struct ImportPlan {
    std::vector<ImportRow> rows;
    int overlong = 0;       // rows left out because their texts do not fit one record
    int refused = 0;        // rows left out because a text holds a character GBK has no code for
    int past_last_row = 0;  // rows with text that would go beyond the grid's last row
};

// A workbook's rows (and a pasted range) go to the grid rows of their own position and end at
// the first row without text; a CSV file's records fill rows 1, 2, ... and skip rows without
// text.
enum class ImportPath { Workbook, Csv };

// Drops the zeros after a decimal point, then a point left at the end: "12.000000" gives "12",
// "2.500000" gives "2.5". A text without a point is left alone.
std::string trim_number_text(std::string text);

// A number cell as the grid gets it: "%0f" trimmed, or, for a whole number whose format is only
// zeros ("000"), the number padded to that width as the sheet shows it ("007").
std::string number_text(double value, std::string_view format);

// Text of a cell with its line breaks (CR LF, LF or CR) and tabs made one space each and every
// other character below U+0020 dropped: in a segment's text those bytes are printer codes.
std::string sanitize_cell_text(std::string_view utf8);

struct CellText {
    std::string gbk;
    bool refused = false;  // a character without a one- or two-byte GBK code; `gbk` is empty
};

// Strings, numbers and dates become the text the cell shows; booleans, errors and empty cells
// give an empty text.
CellText cell_text(const files::SheetCell& cell);

// The repeat count a cell's text gives: its leading integer (blanks and a sign allowed; no digits
// read 0) limited to 1..100; an empty text gives 1.
int import_repeat(std::string_view text);

// Whether the two lines, joined by the line break when there is a second one, fit one record.
bool fits_one_record(std::string_view line1, std::string_view line2);

// The rows to write, with workbook rows numbered from `first_row`; at most `max_row` is written
// to (rows beyond it are left out, as the grid cannot hold them).
ImportPlan plan_import(const std::vector<files::SheetRow>& rows, ImportPath path, int first_row = 1,
                       int max_row = files::kSheetRows);

// Cells copied from a spreadsheet program: tab-separated fields, records ended by CR LF, LF or
// CR, quoted fields (which may hold tabs, line breaks and doubled quotes) as those programs put
// them on the clipboard. Every cell is a string. Only the first three fields of a record count.
std::vector<files::SheetRow> parse_clipboard_rows(std::string_view utf8);

// Whether pasted text is a range of cells (a tab or a line break after the one a single copied
// cell ends with) rather than one value.
bool is_cell_range(std::string_view utf8);

// A single pasted value without the line break a copied cell ends with.
std::string single_value(std::string_view utf8);

}  // namespace qvprt::editor
