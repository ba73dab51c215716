#pragma once
// Small workbooks made in memory for the reader tests and the benchmarks: zip packages through
// libzip, compound files through libgsf's writer, BIFF8 records by hand.

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <zip.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qvprt::files::testing {

using Part = std::pair<std::string, std::string>;  // name, content

// Deflated unless `store`.
inline std::vector<std::uint8_t> make_zip(const std::vector<Part>& parts, bool store = false) {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(nullptr, 0, 0, &err);
    zip_source_keep(src);
    zip_t* za = zip_open_from_source(src, ZIP_TRUNCATE, &err);
    for (const Part& p : parts) {
        zip_source_t* fs = zip_source_buffer(za, p.second.data(), p.second.size(), 0);
        const zip_int64_t i = zip_file_add(za, p.first.c_str(), fs, ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(za, static_cast<zip_uint64_t>(i),
                                 store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 1);
    }
    zip_close(za);
    std::vector<std::uint8_t> out;
    if (zip_source_open(src) == 0) {
        zip_source_seek(src, 0, SEEK_END);
        out.resize(static_cast<std::size_t>(zip_source_tell(src)));
        zip_source_seek(src, 0, SEEK_SET);
        zip_source_read(src, out.data(), out.size());
        zip_source_close(src);
    }
    zip_source_free(src);
    zip_error_fini(&err);
    return out;
}

inline std::vector<std::uint8_t> make_ole(const std::vector<Part>& streams) {
    GsfOutput* mem = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(mem);
    for (const Part& s : streams) {
        GsfOutput* child = gsf_outfile_new_child(ole, s.first.c_str(), FALSE);
        gsf_output_write(child, s.second.size(), reinterpret_cast<const guint8*>(s.second.data()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(mem));
    std::vector<std::uint8_t> out(bytes, bytes + gsf_output_size(mem));
    g_object_unref(mem);
    return out;
}

// One BIFF record: type, length, body.
inline std::string biff(std::uint16_t type, const std::string& body) {
    std::string r;
    r += static_cast<char>(type & 0xFF);
    r += static_cast<char>(type >> 8);
    r += static_cast<char>(body.size() & 0xFF);
    r += static_cast<char>(body.size() >> 8);
    return r + body;
}
inline std::string le16(unsigned v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
inline std::string le32(std::uint32_t v) {
    return le16(v & 0xFFFF) + le16(v >> 16);
}
inline std::string bof(unsigned kind) {
    return biff(0x0809, le16(0x0600) + le16(kind) + std::string(12, '\0'));
}
inline std::string eof() {
    return biff(0x000A, "");
}
// An 8-bit BIFF8 string with a 16-bit count.
inline std::string biff_text(const std::string& s) {
    return le16(static_cast<unsigned>(s.size())) + std::string(1, '\0') + s;
}
inline std::string biff_label(unsigned row, unsigned col, const std::string& s) {
    return biff(0x0204, le16(row) + le16(col) + le16(0) + biff_text(s));
}
inline std::string biff_number(unsigned row, unsigned col, double v) {
    std::string b = le16(row) + le16(col) + le16(0);
    b.append(reinterpret_cast<const char*>(&v), 8);
    return biff(0x0203, b);
}

// A workbook stream with one sheet named "S": `globals` go after BOF, `cells` into the sheet.
inline std::string biff_workbook(const std::string& globals, const std::string& cells) {
    const std::string name = std::string(1, '\1') + std::string(1, '\0') + "S";
    const std::size_t boundsheet = 4 + 6 + name.size();
    const std::size_t head = bof(5).size() + globals.size() + boundsheet + eof().size();
    return bof(5) + globals +
           biff(0x0085, le32(static_cast<std::uint32_t>(head)) + le16(0) + name) + eof() +
           bof(0x10) + cells + eof();
}

inline std::vector<std::uint8_t> xls_file(const std::string& workbook_stream) {
    return make_ole({{"Workbook", workbook_stream}});
}

// A one-sheet .xlsx with `sheet_data` inside <sheetData>; `parts` added or replacing.
inline std::vector<std::uint8_t> xlsx_file(const std::string& sheet_data,
                                           std::vector<Part> parts = {}) {
    const std::string ns = "http://schemas.openxmlformats.org/";
    std::vector<Part> all = {
        {"_rels/.rels", "<Relationships xmlns=\"" + ns +
                            "package/2006/relationships\"><Relationship Id=\"rId1\" "
                            "Type=\"" +
                            ns +
                            "officeDocument/2006/relationships/officeDocument\" "
                            "Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<workbook xmlns=\"" + ns + "spreadsheetml/2006/main\" xmlns:r=\"" + ns +
             "officeDocument/2006/relationships\"><sheets><sheet name=\"S\" sheetId=\"1\" "
             "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", "<Relationships xmlns=\"" + ns +
                                           "package/2006/relationships\"><Relationship Id=\"rId1\" "
                                           "Type=\"" +
                                           ns +
                                           "officeDocument/2006/relationships/worksheet\" "
                                           "Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", "<worksheet xmlns=\"" + ns +
                                         "spreadsheetml/2006/main\"><sheetData>" + sheet_data +
                                         "</sheetData></worksheet>"},
    };
    for (Part& p : parts) {
        bool replaced = false;
        for (Part& a : all) {
            if (a.first == p.first) {
                a.second = p.second;
                replaced = true;
            }
        }
        if (!replaced) {
            all.push_back(std::move(p));
        }
    }
    return make_zip(all);
}

// A one-table .ods with `rows` inside <table:table>.
inline std::vector<std::uint8_t> ods_file(const std::string& rows) {
    return make_zip(
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
         {"content.xml",
          "<office:document-content "
          "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
          "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
          "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
          "<office:spreadsheet><table:table table:name=\"T\">" +
              rows +
              "</table:table></office:spreadsheet></office:body></office:document-content>"}});
}

}  // namespace qvprt::files::testing
