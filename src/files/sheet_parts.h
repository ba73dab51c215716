#pragma once
// Pieces the spreadsheet readers share: what a reader hands back before the message is made, and
// the rules of dates and number formats that .xls, .xlsx and .ods have in common.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/sheet_reader.h"

namespace qvprt::files::sheet {

using Bytes = std::span<const std::uint8_t>;

struct Parsed {
    SheetError error = SheetError::None;
    std::string d1, d2;  // details for the message, UTF-8
    Sheet sheet;
};

inline Parsed failed(SheetError e, std::string d1 = {}, std::string d2 = {}) {
    Parsed p;
    p.error = e;
    p.d1 = std::move(d1);
    p.d2 = std::move(d2);
    return p;
}
inline Parsed damaged(std::string what) {
    return failed(SheetError::Damaged, std::move(what));
}

Parsed parse_csv(Bytes bytes);
Parsed parse_xls(Bytes bytes);                   // an OLE2 compound file
Parsed parse_biff(std::string_view stream);      // its workbook stream
Parsed parse_zip(Bytes bytes, SheetKind& kind);  // .xlsx or .ods

// Drops the empty rows after the last row that has a cell.
void trim_trailing_rows(Sheet& s);

// Days between 0001-01-01 (proleptic Gregorian) and the date; its inverse.
long long days_from_civil(long long y, int m, int d);
void civil_from_days(long long days, int& y, int& m, int& d);

// A workbook serial as the workbook shows it: day 1 is 1900-01-01 (with the 1900 system's phantom
// 29 February folded onto the 28th), or 1904-01-02 in the 1904 system. Empty when out of range.
std::optional<SheetDateTime> serial_date(double serial, bool date1904);
// ISO 8601 date, date-time or time of day, rounded to the second; `serial` counts days from
// 1899-12-30 (`null_days` from days_from_civil).
std::optional<SheetDateTime> iso_date(std::string_view s, long long null_days, double& serial);

// Date formats by id and by code (text in quotes, escapes, [colours] and [$-locales] do not count).
bool builtin_date_format(int id);
bool date_format_code(std::string_view code);
// The code a built-in id stands for, "builtin:N" where it depends on the locale; empty for General.
std::string builtin_format_code(int id);

// The code and date-ness of number format `id`, from the codes the workbook spells out (.xls
// FORMAT records, .xlsx numFmts) or else the built-in table.
struct NumberFormat {
    std::string code;
    bool is_date = false;
};
NumberFormat number_format(long long id, const std::map<long long, std::string>& codes);

// Number cell with format `code` (empty: General): a Number, or a Date where the code is a date
// format and the serial a shown date.
SheetCell number_cell(double value, std::string code, bool is_date, bool date1904);

// UTF-8 text with every malformed sequence as U+FFFD.
std::string valid_utf8(std::string_view s);
bool is_utf8(std::string_view s);

}  // namespace qvprt::files::sheet
