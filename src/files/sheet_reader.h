#pragma once
// Reading the wire list a user keeps in a spreadsheet: columns A to C of rows 1 to 1000 of a
// workbook's active sheet (.xls, .xlsx, .ods), or the records of a comma-separated file. The kind
// of file comes from its content, never from its name. A reader never touches the open job.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvprt::files {

inline constexpr int kSheetRows = 1000;
inline constexpr int kSheetColumns = 3;
// No wire list comes near these; larger files and parts are refused before they cost time.
inline constexpr long long kMaxSheetFileBytes = 64LL << 20;
inline constexpr long long kMaxUnpackedPartBytes = 64LL << 20;

enum class SheetKind { Unknown, Csv, Xls, Xlsx, Ods };

enum class CellType { Empty, String, Number, Date, Bool, Error };

// A date or time as the workbook shows it, with its date system applied, to the second.
struct SheetDateTime {
    bool has_date = true;   // false: a time of day or a duration below one day's serial
    bool duration = false;  // an elapsed time whose hours may pass 24 (no calendar day)
    // For a duration: the day it reaches, counted from the sheet's null date.
    int year = 1899;
    int month = 12;
    int day = 30;
    long long hours = 0;  // 0..23, or any count for a duration
    int minute = 0;
    int second = 0;
};

// "YYYY-MM-DD", "HH:MM:SS" or "YYYY-MM-DDTHH:MM:SS".
std::string iso_text(const SheetDateTime& d);

struct SheetCell {
    CellType type = CellType::Empty;
    std::string text;   // String: the text (UTF-8); Error: the error text, e.g. "#DIV/0!"
    double number = 0;  // Number: the value; Date: the serial in days as the file holds it
    bool boolean = false;
    SheetDateTime date;  // Date
    // Number and Date: the number format code, "builtin:N" for a built-in format the file does not
    // spell out; empty for General.
    std::string format;
    bool formula = false;  // the cell holds a formula; the value is its cached result

    // Missing, empty or a zero-length string: what ends a workbook's list.
    bool blank() const {
        return type == CellType::Empty || (type == CellType::String && text.empty());
    }
};

using SheetRow = std::array<SheetCell, kSheetColumns>;

struct Sheet {
    std::string name;  // UTF-8; the active sheet's name, empty for a CSV file
    // Workbooks: rows 1..1000 (rows[0] is row 1), without the empty rows after the last used one.
    // CSV: the records in file order, until 1000 records have text in A or B.
    std::vector<SheetRow> rows;
};

enum class SheetError {
    None,
    OpenFailed,  // detail: the system's reason
    ReadFailed,  // detail: the system's reason
    Empty,
    TooLarge,        // detail: the limit in MB
    NotSpreadsheet,  // detail: what it is, when known
    Html,
    OtherZip,
    OtherCompound,
    OldExcel,
    Encrypted,
    PartTooLarge,  // detail: the part, the limit in MB
    Damaged,       // detail: what is wrong
    NoSheet,
};

struct SheetResult {
    SheetError error = SheetError::None;
    std::string message;  // GBK, for a box captioned "提示"; empty on success
    SheetKind kind = SheetKind::Unknown;
    Sheet sheet;

    bool ok() const { return error == SheetError::None; }
};

// `path` is UTF-8.
SheetResult read_sheet(const std::string& path);
// The same for bytes already read; `path` only names the file in messages.
SheetResult parse_sheet(std::span<const std::uint8_t> bytes, std::string_view path);

}  // namespace qvprt::files
