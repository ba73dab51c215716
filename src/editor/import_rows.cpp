#include "editor/import_rows.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/segment_list.h"
#include "text/gbk.h"

namespace qvprt::editor {

using files::CellType;
using files::SheetCell;

std::string trim_number_text(std::string text) {
    if (text.find('.') == std::string::npos) {
        return text;
    }
    while (text.size() >= 2 && text.back() == '0') {
        text.pop_back();
    }
    while (text.size() >= 2 && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

namespace {

bool only_zeros(std::string_view format) {
    return !format.empty() && format.find_first_not_of('0') == std::string_view::npos;
}

// Whole numbers that "%lld" holds exactly.
constexpr double kLargestWhole = 9007199254740992.0;  // 2^53

std::string date_text(const files::SheetDateTime& d) {
    char buf[48];
    if (d.has_date || (d.duration && d.hours >= 24)) {
        // A duration of a day or more reaches a date; the reader counts it from the null date.
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    } else {
        std::snprintf(buf, sizeof buf, "%02lld:%02d:%02d", d.hours, d.minute, d.second);
    }
    return buf;
}

CellText encode(std::string_view utf8) {
    text::EncodeResult r = text::utf8_to_gbk(sanitize_cell_text(utf8));
    if (!r.ok) {
        return {{}, true};
    }
    return {std::move(r.bytes), false};
}

}  // namespace

std::string number_text(double value, std::string_view format) {
    if (value == 0) {
        value = 0;  // no "-0" for a negative zero
    }
    char buf[400];
    if (only_zeros(format) && std::isfinite(value) && value == std::floor(value) &&
        std::fabs(value) < kLargestWhole) {
        const long long whole = std::llabs(static_cast<long long>(value));
        std::snprintf(buf, sizeof buf, "%s%0*lld", value < 0 ? "-" : "",
                      static_cast<int>(format.size()), whole);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%0f", value);
    return trim_number_text(buf);
}

std::string sanitize_cell_text(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
            out += ' ';
        } else if (c == '\n' || c == '\t') {
            out += ' ';
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            out += c;
        }
    }
    return out;
}

CellText cell_text(const SheetCell& cell) {
    switch (cell.type) {
        case CellType::String:
            return encode(cell.text);
        case CellType::Number:
            return {number_text(cell.number, cell.format), false};
        case CellType::Date:
            return {date_text(cell.date), false};
        case CellType::Empty:
        case CellType::Bool:
        case CellType::Error:
            break;
    }
    return {};
}

int import_repeat(std::string_view text) {
    if (text.empty()) {
        return 1;
    }
    const std::string s(text);
    const long v = std::strtol(s.c_str(), nullptr, 10);
    if (v < model::kMinRepeat) {
        return model::kMinRepeat;
    }
    return v > model::kMaxRepeat ? model::kMaxRepeat : static_cast<int>(v);
}

bool fits_one_record(std::string_view line1, std::string_view line2) {
    const std::size_t stored = line1.size() + (line2.empty() ? 0 : 1 + line2.size());
    return stored <= static_cast<std::size_t>(model::kMaxTextBytes);
}

ImportPlan plan_import(const std::vector<files::SheetRow>& rows, ImportPath path, int first_row,
                       int max_row) {
    ImportPlan plan;
    int next = path == ImportPath::Csv ? 1 : first_row;
    for (const files::SheetRow& cells : rows) {
        const CellText a = cell_text(cells[0]);
        const CellText b = cell_text(cells[1]);
        const bool blank = !a.refused && !b.refused && a.gbk.empty() && b.gbk.empty();
        if (blank) {
            if (path == ImportPath::Workbook) {
                break;
            }
            continue;
        }
        const int row = next;
        if (path == ImportPath::Workbook) {
            ++next;
        }
        if (row > max_row) {
            ++plan.past_last_row;
            continue;
        }
        if (a.refused || b.refused) {
            ++plan.refused;
            continue;
        }
        if (!fits_one_record(a.gbk, b.gbk)) {
            ++plan.overlong;
            continue;
        }
        // The repeat cell counts only for its digits: any text reads as the commit reads it.
        const CellText c = cell_text(cells[2]);
        const int repeat =
            c.refused ? import_repeat(sanitize_cell_text(cells[2].text)) : import_repeat(c.gbk);
        plan.rows.push_back({row, a.gbk, b.gbk, repeat});
        if (path == ImportPath::Csv) {
            ++next;
        }
    }
    return plan;
}

namespace {

bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

std::vector<files::SheetRow> parse_clipboard_rows(std::string_view s) {
    std::vector<files::SheetRow> rows;
    files::SheetRow row;
    std::size_t column = 0;
    std::string field;
    bool any = false;  // the record has begun
    auto end_field = [&] {
        if (column < files::kSheetColumns && !field.empty()) {
            row[column].type = CellType::String;
            row[column].text = field;
        }
        field.clear();
        ++column;
    };
    auto end_record = [&] {
        end_field();
        rows.push_back(row);
        row = files::SheetRow{};
        column = 0;
        any = false;
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"' && field.empty()) {
            // A quoted field runs to the quote that is not doubled; what follows it up to the
            // next tab or line end is kept as it stands.
            any = true;
            ++i;
            while (i < s.size()) {
                if (s[i] == '"') {
                    if (i + 1 < s.size() && s[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += s[i++];
            }
            continue;
        }
        if (c == '\t') {
            any = true;
            end_field();
            ++i;
            continue;
        }
        if (is_line_end(c)) {
            i += (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ? 2 : 1;
            end_record();
            continue;
        }
        any = true;
        field += c;
        ++i;
    }
    if (any || !field.empty()) {
        end_record();
    }
    return rows;
}

namespace {

// The text without one line end at its end.
std::string_view without_final_line_end(std::string_view s) {
    if (s.ends_with("\r\n")) {
        s.remove_suffix(2);
    } else if (!s.empty() && is_line_end(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

bool is_cell_range(std::string_view utf8) {
    const std::string_view s = without_final_line_end(utf8);
    return s.find_first_of("\t\r\n") != std::string_view::npos;
}

std::string single_value(std::string_view utf8) {
    return std::string(without_final_line_end(utf8));
}

}  // namespace qvprt::editor
