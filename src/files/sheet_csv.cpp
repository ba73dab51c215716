// Comma-separated text as Excel, WPS and LibreOffice save it: quoted fields may hold commas,
// doubled quotes and line breaks. Only columns A to C are decoded, so whatever the other columns
// hold costs nothing.
#include "files/sheet_parts.h"
#include "text/gbk.h"

namespace qvprt::files::sheet {

Parsed parse_csv(Bytes bytes) {
    std::string_view s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool utf8 = true;
    if (s.size() >= 3 && s.substr(0, 3) == "\xEF\xBB\xBF") {
        s.remove_prefix(3);
    } else {
        utf8 = is_utf8(s);
    }
    Parsed p;
    std::size_t pos = 0;
    const std::size_t n = s.size();
    std::string field;
    int kept = 0;
    while (pos < n && kept < kSheetRows) {
        SheetRow row;
        for (int col = 0;; ++col) {
            field.clear();
            const bool keep = col < kSheetColumns;
            if (s[pos] == '"') {
                // A quote opens a quoted field only at its start; an unclosed one runs to the end.
                for (++pos; pos < n; ++pos) {
                    if (s[pos] == '"') {
                        if (pos + 1 < n && s[pos + 1] == '"') {
                            ++pos;
                        } else {
                            ++pos;
                            break;
                        }
                    }
                    if (keep) {
                        field += s[pos];
                    }
                }
            }
            // Unquoted text, or what stands between a closing quote and the next comma.
            const std::size_t from = pos;
            while (pos < n && s[pos] != ',' && s[pos] != '\r' && s[pos] != '\n') {
                ++pos;
            }
            if (keep) {
                field.append(s.substr(from, pos - from));
                if (!field.empty()) {
                    row[static_cast<std::size_t>(col)].type = CellType::String;
                    row[static_cast<std::size_t>(col)].text =
                        utf8 ? valid_utf8(field) : text::gbk_to_utf8(field);
                }
            }
            if (pos < n && s[pos] == ',') {
                ++pos;
                if (pos < n) {
                    continue;
                }
            } else if (pos < n && s[pos] == '\r') {
                pos += (pos + 1 < n && s[pos + 1] == '\n') ? 2 : 1;
            } else if (pos < n) {
                ++pos;
            }
            break;
        }
        // A record without text in A and B is skipped by the import: it is not kept.
        if (!row[0].blank() || !row[1].blank()) {
            p.sheet.rows.push_back(std::move(row));
            ++kept;
        }
    }
    return p;
}

}  // namespace qvprt::files::sheet
