#pragma once
// A 1000-row, three-column wire list (text, text, repeat count) as each kind of spreadsheet file
// holds it: .xlsx with shared strings, .xls with its shared string table, .ods, and CSV. The
// repeat counts run 1..100, ten times over.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "files/sheet_fixtures.h"

namespace qvprt::bench {

using namespace qvprt::files::testing;

inline std::string wire(int i) {
    return "W-" + std::to_string(10000 + i);
}
inline std::string end(int i) {
    return "X" + std::to_string(i % 40) + ":" + std::to_string(i % 7 + 1);
}

inline std::vector<std::uint8_t> make_xlsx() {
    std::string sst = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    std::string rows;
    for (int i = 0; i < 1000; ++i) {
        sst += "<si><t>" + wire(i) + "</t></si><si><t>" + end(i) + "</t></si>";
        const std::string r = std::to_string(i + 1);
        rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\" t=\"s\"><v>" + std::to_string(2 * i) +
                "</v></c><c r=\"B" + r + "\" t=\"s\"><v>" + std::to_string(2 * i + 1) +
                "</v></c><c r=\"C" + r + "\"><v>" + std::to_string(i % 100 + 1) + "</v></c></row>";
    }
    sst += "</sst>";
    return xlsx_file(rows,
                     {{"xl/sharedStrings.xml", sst},
                      {"xl/_rels/workbook.xml.rels",
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                       "relationships\"><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                       "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                       "Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"}});
}

inline std::vector<std::uint8_t> make_xls() {
    // Shared strings in records of at most 8224 bytes, split between strings.
    std::string globals;
    std::string body = le32(2000) + le32(2000);
    bool first = true;
    for (int i = 0; i < 2000; ++i) {
        const std::string s = biff_text(i % 2 ? end(i / 2) : wire(i / 2));
        if (body.size() + s.size() > 8224) {
            globals += biff(first ? 0x00FC : 0x003C, body);
            first = false;
            body.clear();
        }
        body += s;
    }
    globals += biff(first ? 0x00FC : 0x003C, body);
    std::string cells;
    for (int i = 0; i < 1000; ++i) {
        const unsigned row = static_cast<unsigned>(i);
        cells += biff(0x00FD, le16(row) + le16(0) + le16(0) + le32(2 * row));
        cells += biff(0x00FD, le16(row) + le16(1) + le16(0) + le32(2 * row + 1));
        cells += biff(0x027E, le16(row) + le16(2) + le16(0) + le32(((row % 100 + 1) << 2) | 2));
    }
    return xls_file(biff_workbook(globals, cells));
}

inline std::vector<std::uint8_t> make_ods() {
    std::string rows;
    for (int i = 0; i < 1000; ++i) {
        const std::string n = std::to_string(i % 100 + 1);
        rows +=
            "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>" + wire(i) +
            "</text:p></table:table-cell><table:table-cell office:value-type=\"string\">"
            "<text:p>" +
            end(i) +
            "</text:p></table:table-cell><table:table-cell "
            "office:value-type=\"float\" office:value=\"" +
            n + "\"><text:p>" + n +
            "</text:p></table:table-cell><table:table-cell table:number-columns-repeated=\"1021\"/>"
            "</table:table-row>";
    }
    rows +=
        "<table:table-row table:number-rows-repeated=\"1047576\"><table:table-cell "
        "table:number-columns-repeated=\"1024\"/></table:table-row>";
    return ods_file(rows);
}

inline std::vector<std::uint8_t> make_csv() {
    std::string s = "\xEF\xBB\xBF";
    for (int i = 0; i < 1000; ++i) {
        s += wire(i) + "," + end(i) + "," + std::to_string(i % 100 + 1) + "\r\n";
    }
    return {s.begin(), s.end()};
}

inline void write_file(const std::string& path, const std::vector<std::uint8_t>& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace qvprt::bench
