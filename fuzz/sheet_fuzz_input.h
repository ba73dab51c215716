#pragma once
// How the spreadsheet fuzz targets turn their input into a file for each reader, and what they
// check of the result. The tests run the kept findings through the same two steps.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "files/sheet_fixtures.h"
#include "files/sheet_parts.h"
#include "files/sheet_zip.h"

namespace qvprt::files::fuzz {

// Splits the input at NUL bytes into exactly `n` parts.
inline std::vector<std::string> split_parts(const std::uint8_t* data, std::size_t size,
                                            std::size_t n) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < n) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(n);
    return parts;
}

// CSV: the bytes as they are. .xls: a compound file when the input starts with its signature,
// else a bare BIFF8 workbook stream, so that mutations reach the records without having to keep
// the container whole. .xlsx and .ods: a zip when the input starts with "PK", else the XML parts
// separated by NUL bytes, stored uncompressed in a made zip so that mutations reach the XML.
inline sheet::Parsed parse_fuzz_input(SheetKind kind, const std::uint8_t* data, std::size_t size) {
    using sheet::Parsed;
    SheetKind found = SheetKind::Unknown;
    switch (kind) {
        case SheetKind::Csv:
        case SheetKind::Unknown:
            return sheet::parse_csv({data, size});
        case SheetKind::Xls:
            if (size >= 8 && std::memcmp(data, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) == 0) {
                return sheet::parse_xls({data, size});
            }
            return sheet::parse_biff({reinterpret_cast<const char*>(data), size});
        case SheetKind::Xlsx:
        case SheetKind::Ods:
            break;
    }
    if (size >= 2 && data[0] == 'P' && data[1] == 'K') {
        return sheet::parse_zip({data, size}, found);
    }
    std::vector<std::uint8_t> zip;
    if (kind == SheetKind::Xlsx) {
        const std::vector<std::string> p = split_parts(data, size, 6);
        zip = testing::make_zip({{"_rels/.rels", p[0]},
                                 {"xl/workbook.xml", p[1]},
                                 {"xl/_rels/workbook.xml.rels", p[2]},
                                 {"xl/sharedStrings.xml", p[3]},
                                 {"xl/styles.xml", p[4]},
                                 {"xl/worksheets/sheet1.xml", p[5]}},
                                true);
    } else {
        const std::vector<std::string> p = split_parts(data, size, 3);
        zip = testing::make_zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                 {"content.xml", p[0]},
                                 {"styles.xml", p[1]},
                                 {"settings.xml", p[2]}},
                                true);
    }
    return sheet::parse_zip(zip, found);
}

// A failure has a message detail or a kind and no rows; a sheet stays within its limits and holds
// valid UTF-8; a CSV file gives only strings.
inline bool sound(const sheet::Parsed& p, bool csv) {
    if (p.error != SheetError::None) {
        return p.sheet.rows.empty();
    }
    if (p.sheet.rows.size() > static_cast<std::size_t>(kSheetRows) ||
        !sheet::is_utf8(p.sheet.name)) {
        return false;
    }
    for (const SheetRow& row : p.sheet.rows) {
        for (const SheetCell& c : row) {
            if (!sheet::is_utf8(c.text) ||
                (csv && c.type != CellType::Empty && c.type != CellType::String)) {
                return false;
            }
            if (c.type == CellType::Date && iso_text(c.date).empty()) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace qvprt::files::fuzz
