// .ods: the active table named in settings.xml (else the first), its cells from content.xml, their
// number formats rebuilt from the data styles of styles.xml and content.xml.
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "files/sheet_xml.h"

namespace qvprt::files::sheet {
namespace {

struct DataStyle {
    std::string code;
    bool general = false;                                   // a bare number:number
    std::vector<std::pair<std::string, std::string>> maps;  // condition, style applied
};

struct CellStyle {
    std::string data_style;
    std::string parent;
};

struct Styles {
    std::map<std::string, DataStyle> data;
    std::map<std::string, CellStyle> cells;
    std::string default_cell;  // style:default-style of the table-cell family
};

bool is_data_style(QStringView n) {
    return n == QLatin1StringView("number-style") || n == QLatin1StringView("currency-style") ||
           n == QLatin1StringView("percentage-style") || n == QLatin1StringView("date-style") ||
           n == QLatin1StringView("time-style") || n == QLatin1StringView("boolean-style") ||
           n == QLatin1StringView("text-style");
}

bool is_long(const XmlPart& x) {
    return x.attr("style") == QLatin1StringView("long");
}

// Literal text of a data style: kept bare when it is only separators, else quoted.
std::string literal(const std::string& t) {
    if (t.find_first_not_of(" -/:.,()%") == std::string::npos) {
        return t;
    }
    return "\"" + t + "\"";
}

std::string number_code(const XmlPart& x, bool& general) {
    const long long decimals = attr_number(x.attr("decimal-places"), -1);
    const long long min_decimals = attr_number(x.attr("min-decimal-places"), decimals);
    const long long min_int = std::min<long long>(attr_number(x.attr("min-integer-digits"), 1), 32);
    const bool grouping = x.attr("grouping") == QLatin1StringView("true");
    general = decimals < 0 && !grouping;
    const std::size_t zeros = static_cast<std::size_t>(std::max<long long>(1, min_int));
    std::string s = std::string(zeros, '0');
    if (grouping) {
        // "#,##0": at least four digit places, the comma before the last three.
        s = std::string(zeros < 4 ? 4 - zeros : 0, '#') + s;
        s.insert(s.size() - 3, ",");
    }
    if (decimals > 0) {
        const long long d = std::min<long long>(decimals, 32);
        const long long md = std::clamp<long long>(min_decimals, 0, d);
        s += "." + std::string(static_cast<std::size_t>(md), '0') +
             std::string(static_cast<std::size_t>(d - md), '#');
    }
    return s;
}

// Reads the data styles and cell styles of one part into `st`.
bool read_styles(ZipArchive& zip, const std::string& part, Styles& st, Parsed& fail,
                 bool stop_at_body) {
    XmlPart x(zip, part);
    DataStyle* ds = nullptr;
    bool duration = false;
    int text_depth = 0;
    std::string text;
    bool has_other = false;
    int numbers = 0;
    bool general = false;
    while (!x.done()) {
        x.next();
        if (x.is_start()) {
            const QStringView n = x.name();
            if (is_data_style(n)) {
                ds = &st.data[utf8(x.attr("name"))];
                *ds = DataStyle{};
                duration = x.attr("truncate-on-overflow") == QLatin1StringView("false");
                has_other = false;
                numbers = 0;
                general = false;
                if (n == QLatin1StringView("boolean-style")) {
                    ds->code = "BOOLEAN";
                }
            } else if (ds != nullptr) {
                if (n == QLatin1StringView("number")) {
                    ds->code += number_code(x, general);
                    ++numbers;
                } else if (n == QLatin1StringView("scientific-number")) {
                    bool g = false;
                    ds->code +=
                        number_code(x, g) + "E+" +
                        std::string(static_cast<std::size_t>(std::clamp<long long>(
                                        attr_number(x.attr("min-exponent-digits"), 2), 1, 9)),
                                    '0');
                    has_other = true;
                } else if (n == QLatin1StringView("fraction")) {
                    ds->code += "# ?/?";
                    has_other = true;
                } else if (n == QLatin1StringView("text") ||
                           n == QLatin1StringView("currency-symbol")) {
                    text_depth = 1;
                    text.clear();
                } else if (n == QLatin1StringView("day")) {
                    ds->code += is_long(x) ? "dd" : "d";
                } else if (n == QLatin1StringView("month")) {
                    const bool textual = x.attr("textual") == QLatin1StringView("true");
                    ds->code += textual ? (is_long(x) ? "mmmm" : "mmm") : (is_long(x) ? "mm" : "m");
                } else if (n == QLatin1StringView("year")) {
                    ds->code += is_long(x) ? "yyyy" : "yy";
                } else if (n == QLatin1StringView("day-of-week")) {
                    ds->code += is_long(x) ? "dddd" : "ddd";
                } else if (n == QLatin1StringView("hours")) {
                    const std::string h = is_long(x) ? "hh" : "h";
                    ds->code += duration ? "[" + h + "]" : h;
                } else if (n == QLatin1StringView("minutes")) {
                    ds->code += is_long(x) ? "mm" : "m";
                } else if (n == QLatin1StringView("seconds")) {
                    ds->code += is_long(x) ? "ss" : "s";
                    const long long d =
                        std::clamp<long long>(attr_number(x.attr("decimal-places"), 0), 0, 9);
                    if (d > 0) {
                        ds->code += "." + std::string(static_cast<std::size_t>(d), '0');
                    }
                } else if (n == QLatin1StringView("am-pm")) {
                    ds->code += "AM/PM";
                } else if (n == QLatin1StringView("text-content")) {
                    ds->code += "@";
                    has_other = true;
                } else if (n == QLatin1StringView("map")) {
                    std::string cond = utf8(x.attr("condition"));
                    if (cond.starts_with("value()")) {
                        cond = cond.substr(7);
                    }
                    ds->maps.emplace_back(cond, utf8(x.attr("apply-style-name")));
                }
            } else if (n == QLatin1StringView("style")) {
                CellStyle& cs = st.cells[utf8(x.attr("name"))];
                cs.data_style = utf8(x.attr("data-style-name"));
                cs.parent = utf8(x.attr("parent-style-name"));
            } else if (n == QLatin1StringView("default-style") &&
                       x.attr("family") == QLatin1StringView("table-cell")) {
                st.default_cell =
                    "\x01"
                    "default";
                st.cells[st.default_cell].data_style = utf8(x.attr("data-style-name"));
            } else if (stop_at_body && n == QLatin1StringView("body")) {
                break;
            }
        } else if (x.is_end()) {
            if (ds != nullptr && is_data_style(x.name())) {
                ds->general = general && numbers == 1 && !has_other && ds->code == "0";
                ds = nullptr;
            } else if (text_depth > 0 && (x.name() == QLatin1StringView("text") ||
                                          x.name() == QLatin1StringView("currency-symbol"))) {
                if (ds != nullptr) {
                    ds->code +=
                        x.name() == QLatin1StringView("text") ? literal(text) : "[$" + text + "]";
                }
                text_depth = 0;
            }
        } else if (x.is_text() && text_depth > 0) {
            text += utf8(x.text());
        }
    }
    if (!x.ok()) {
        fail = x.failure();
        return false;
    }
    return true;
}

std::string format_of(const Styles& st, const std::string& data_name, int depth = 0) {
    const auto it = st.data.find(data_name);
    if (it == st.data.end() || depth > 4) {
        return {};
    }
    const DataStyle& d = it->second;
    std::string code;
    for (const auto& [cond, name] : d.maps) {
        code += "[" + cond + "]" + format_of(st, name, depth + 1) + ";";
    }
    if (d.maps.empty() && d.general) {
        return {};
    }
    return code + d.code;
}

// The data style's format for a cell style, following parent styles.
std::string cell_format(const Styles& st, std::string name) {
    for (int i = 0; i < 8 && !name.empty(); ++i) {
        const auto it = st.cells.find(name);
        if (it == st.cells.end()) {
            break;
        }
        if (!it->second.data_style.empty()) {
            return format_of(st, it->second.data_style);
        }
        name = it->second.parent;
    }
    return {};
}

// ActiveTable of the first view in settings.xml; empty when there is none.
bool read_active_table(ZipArchive& zip, std::string& active, Parsed& fail) {
    XmlPart x(zip, "settings.xml");
    bool in_view_settings = false;
    bool in_views = false;
    int entry_depth = 0;  // of the first view's entry; its own items are one level deeper
    bool in_active = false;
    while (!x.done()) {
        x.next();
        if (x.at_start("config-item-set")) {
            const QStringView n = x.attr("name");
            if (n == QLatin1StringView("ooo:view-settings") ||
                n == QLatin1StringView("view-settings")) {
                in_view_settings = true;
            }
        } else if (x.at_end("config-item-set")) {
            in_view_settings = false;
        } else if (in_view_settings && x.at_start("config-item-map-indexed") &&
                   x.attr("name") == QLatin1StringView("Views")) {
            in_views = true;
        } else if (in_views && entry_depth == 0 && x.at_start("config-item-map-entry")) {
            entry_depth = x.depth();
        } else if (in_views && entry_depth > 0 && x.depth() == entry_depth + 1 &&
                   x.at_start("config-item") &&
                   x.attr("name") == QLatin1StringView("ActiveTable")) {
            in_active = true;
        } else if (in_active && x.is_text()) {
            active += utf8(x.text());
        } else if (x.at_end("config-item") && in_active) {
            return true;
        } else if (in_views && x.at_end("config-item-map-indexed")) {
            break;
        }
    }
    if (!x.ok()) {
        fail = x.failure();
        return false;
    }
    return true;
}

bool parse_double(QStringView s, double& v) {
    const std::string t = utf8(s.trimmed());
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+') {
        ++b;
    }
    const auto [end, ec] = std::from_chars(b, e, v);
    return ec == std::errc() && end == e && b != e;
}

// "PT27H17M54S", "P1DT2H", "-PT1H": seconds.
bool parse_duration(QStringView s, double& secs) {
    qsizetype i = 0;
    const bool negative = i < s.size() && s[i] == u'-';
    if (negative) {
        ++i;
    }
    if (i >= s.size() || s[i] != u'P') {
        return false;
    }
    ++i;
    secs = 0;
    bool time = false;
    bool any = false;
    while (i < s.size()) {
        if (s[i] == u'T') {
            time = true;
            ++i;
            continue;
        }
        const qsizetype from = i;
        while (i < s.size() && (s[i].isDigit() || s[i] == u'.')) {
            ++i;
        }
        if (i == from || i >= s.size()) {
            return false;
        }
        double v = 0;
        if (!parse_double(s.mid(from, i - from), v)) {
            return false;
        }
        const char16_t unit = s[i].unicode();
        if (unit == u'D' && !time) {
            secs += v * 86400;
        } else if (unit == u'H' && time) {
            secs += v * 3600;
        } else if (unit == u'M' && time) {
            secs += v * 60;
        } else if (unit == u'S' && time) {
            secs += v;
        } else {
            return false;
        }
        any = true;
        ++i;
    }
    if (negative) {
        secs = -secs;
    }
    return any && std::isfinite(secs) && std::fabs(secs) < 1e13;
}

constexpr const char* kOfficeNs = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr const char* kCalcextNs =
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";

// Repeat counts and positions past this are all "far beyond what is read", so sums of them
// cannot overflow.
constexpr long long kFarPosition = 1LL << 40;

long long repeat_count(QStringView s) {
    return std::clamp<long long>(attr_number(s, 1), 1, kFarPosition);
}

struct RawCell {
    std::string value_type;  // office:value-type
    std::string calc_type;   // calcext:value-type
    QString value, date_value, time_value, bool_value, string_value;
    bool has_string_value = false;
    bool has_value = false;
    bool formula = false;
    std::string style;
    std::string text;
    int paragraphs = 0;
};

struct Table {
    std::string name;
    Sheet sheet;
};

class ContentReader {
  public:
    ContentReader(ZipArchive& zip, Styles& st, std::string active)
        : x_(zip, "content.xml"), st_(st), active_(std::move(active)) {}

    Parsed run();

  private:
    bool read_table(Table& t, bool keep);
    bool read_cell(RawCell& c, bool keep);
    SheetCell make_cell(const RawCell& c, std::string_view row_style, long long col, bool& bad);

    XmlPart x_;
    Styles& st_;
    std::string active_;
    long long null_days_ = days_from_civil(1899, 12, 30);
    std::vector<std::string> column_styles_;  // default cell styles of columns A..C
    std::string why_;
};

Parsed ContentReader::run() {
    Parsed fail;
    std::optional<Table> first;
    // Automatic styles of content.xml come before the body.
    while (!x_.done()) {
        x_.next();
        if (x_.is_start()) {
            const QStringView n = x_.name();
            if (n == QLatin1StringView("null-date")) {
                double serial = 0;
                if (const auto d = iso_date(utf8(x_.attr("date-value")), 0, serial)) {
                    null_days_ = days_from_civil(d->year, d->month, d->day);
                }
            } else if (n == QLatin1StringView("table") && x_.depth() <= 4) {
                Table t;
                t.name = utf8(x_.attr("name"));
                const bool wanted = active_.empty() || t.name == active_;
                const bool keep = wanted || !first;
                if (!read_table(t, keep)) {
                    return x_.ok() ? damaged(why_) : x_.failure();
                }
                if (wanted) {
                    Parsed p;
                    p.sheet = std::move(t.sheet);
                    p.sheet.name = t.name;
                    return p;
                }
                if (!first) {
                    first = std::move(t);
                }
            }
        }
    }
    if (!x_.ok()) {
        return x_.failure();
    }
    if (!first) {
        return failed(SheetError::NoSheet);
    }
    // The named table is not there: the first one is the sheet.
    Parsed p;
    p.sheet = std::move(first->sheet);
    p.sheet.name = first->name;
    return p;
}

bool ContentReader::read_table(Table& t, bool keep) {
    const int depth = x_.depth();
    long long row = 0;  // rows before the current one
    long long column_index = 0;
    column_styles_.assign(kSheetColumns, std::string());
    while (!x_.done()) {
        x_.next();
        if (x_.is_end() && x_.depth() < depth) {
            break;
        }
        if (!x_.is_start() || !keep) {
            continue;
        }
        const QStringView n = x_.name();
        if (n == QLatin1StringView("table-column")) {
            const long long rep = repeat_count(x_.attr("number-columns-repeated"));
            const std::string style = utf8(x_.attr("default-cell-style-name"));
            for (long long c = column_index; c < kSheetColumns && c < column_index + rep; ++c) {
                column_styles_[static_cast<std::size_t>(c)] = style;
            }
            column_index = std::min(column_index + rep, kFarPosition);
        } else if (n == QLatin1StringView("table-row")) {
            const long long rep = repeat_count(x_.attr("number-rows-repeated"));
            const std::string row_style = utf8(x_.attr("default-cell-style-name"));
            const int row_depth = x_.depth();
            SheetRow cells;
            bool any = false;
            long long col = 0;
            while (!x_.done()) {
                x_.next();
                if (x_.is_end() && x_.depth() < row_depth) {
                    break;
                }
                if (x_.is_start() && (x_.name() == QLatin1StringView("table-cell") ||
                                      x_.name() == QLatin1StringView("covered-table-cell"))) {
                    const long long crep = repeat_count(x_.attr("number-columns-repeated"));
                    const bool wanted = col < kSheetColumns && row < kSheetRows;
                    RawCell rc;
                    if (!read_cell(rc, wanted)) {
                        return false;
                    }
                    if (wanted) {
                        bool bad = false;
                        for (long long c = col; c < kSheetColumns && c < col + crep; ++c) {
                            SheetCell sc = make_cell(rc, row_style, c, bad);
                            if (bad) {
                                return false;
                            }
                            any = any || sc.type != CellType::Empty;
                            cells[static_cast<std::size_t>(c)] = std::move(sc);
                        }
                    }
                    col = std::min(col + crep, kFarPosition);
                }
            }
            if (!x_.ok()) {
                return false;
            }
            // Repeated rows with content are copies; empty ones, however many, cost nothing.
            if (any) {
                for (long long r = row; r < row + rep && r < kSheetRows; ++r) {
                    if (t.sheet.rows.size() < static_cast<std::size_t>(r)) {
                        t.sheet.rows.resize(static_cast<std::size_t>(r));
                    }
                    t.sheet.rows.push_back(cells);
                }
            }
            row = std::min(row + rep, kFarPosition);
        }
    }
    if (!x_.ok()) {
        return false;
    }
    trim_trailing_rows(t.sheet);
    return true;
}

// The cell's attributes and, when `keep`, its text: paragraphs joined by line breaks, comments
// left out, character data as it stands.
bool ContentReader::read_cell(RawCell& c, bool keep) {
    const int depth = x_.depth();
    if (keep) {
        c.value_type = utf8(x_.attr_in("value-type", kOfficeNs));
        c.value = x_.attr("value").toString();
        c.has_value = !x_.attr("value").isNull();
        c.date_value = x_.attr("date-value").toString();
        c.time_value = x_.attr("time-value").toString();
        c.bool_value = x_.attr("boolean-value").toString();
        c.has_string_value = !x_.attr("string-value").isNull();
        c.string_value = x_.attr("string-value").toString();
        c.formula = !x_.attr("formula").isNull();
        c.style = utf8(x_.attr("style-name"));
        // LibreOffice marks errors only in its own namespace, beside office:value-type.
        c.calc_type = utf8(x_.attr_in("value-type", kCalcextNs));
    }
    int in_p = 0;
    int in_note = 0;
    while (!x_.done()) {
        x_.next();
        if (x_.is_end() && x_.depth() < depth) {
            return true;
        }
        if (!keep) {
            continue;
        }
        if (x_.is_start()) {
            const QStringView n = x_.name();
            if (n == QLatin1StringView("annotation")) {
                ++in_note;
            } else if (in_note > 0) {
            } else if (n == QLatin1StringView("p") || n == QLatin1StringView("h")) {
                if (in_p == 0 && c.paragraphs++ > 0) {
                    c.text += '\n';
                }
                ++in_p;
            } else if (in_p > 0 && n == QLatin1StringView("s")) {
                const long long k = std::clamp<long long>(attr_number(x_.attr("c"), 1), 1, 1024);
                c.text.append(static_cast<std::size_t>(k), ' ');
            } else if (in_p > 0 && n == QLatin1StringView("tab")) {
                c.text += '\t';
            } else if (in_p > 0 && n == QLatin1StringView("line-break")) {
                c.text += '\n';
            }
        } else if (x_.is_end()) {
            const QStringView n = x_.name();
            if (n == QLatin1StringView("annotation")) {
                --in_note;
            } else if (in_note == 0 &&
                       (n == QLatin1StringView("p") || n == QLatin1StringView("h"))) {
                --in_p;
            }
        } else if (x_.is_text() && in_p > 0 && in_note == 0) {
            c.text += utf8(x_.text());
        }
    }
    return x_.ok();
}

SheetCell ContentReader::make_cell(const RawCell& c, std::string_view row_style, long long col,
                                   bool& bad) {
    SheetCell out;
    out.formula = c.formula;
    const std::string& vt = c.value_type;
    auto format = [&] {
        std::string style = c.style;
        if (style.empty()) {
            style = row_style;
        }
        if (style.empty()) {
            style = column_styles_[static_cast<std::size_t>(col)];
        }
        if (style.empty()) {
            style = st_.default_cell;
        }
        return cell_format(st_, style);
    };
    if (c.calc_type == "error") {
        out.type = CellType::Error;
        out.text = c.text;
    } else if (vt == "float" || vt == "percentage" || vt == "currency") {
        double v = 0;
        if (!c.has_value) {
            return out;
        }
        if (!parse_double(c.value, v)) {
            bad = true;
            why_ = "数值“" + c.value.toStdString() + "”无效";
            return out;
        }
        out.type = CellType::Number;
        out.number = v;
        out.format = format();
    } else if (vt == "date") {
        double serial = 0;
        const std::optional<SheetDateTime> d =
            iso_date(c.date_value.toStdString(), null_days_, serial);
        if (!d) {
            bad = true;
            why_ = "日期“" + c.date_value.toStdString() + "”无效";
            return out;
        }
        out.type = CellType::Date;
        out.date = *d;
        out.number = serial;
        out.format = format();
    } else if (vt == "time") {
        double secs = 0;
        if (!parse_duration(c.time_value, secs)) {
            bad = true;
            why_ = "时间“" + c.time_value.toStdString() + "”无效";
            return out;
        }
        const long long whole = std::llround(std::fabs(secs));
        out.type = CellType::Date;
        out.date.has_date = false;
        out.date.duration = true;
        out.date.hours = whole / 3600;
        out.date.minute = static_cast<int>(whole / 60 % 60);
        out.date.second = static_cast<int>(whole % 60);
        if (secs >= 0) {
            // The calendar day an elapsed time of a day or more reaches from the null date.
            civil_from_days(null_days_ + whole / 86400, out.date.year, out.date.month,
                            out.date.day);
        }
        out.number = secs / 86400.0;
        out.format = format();
    } else if (vt == "boolean") {
        out.type = CellType::Bool;
        out.boolean = c.bool_value == QLatin1StringView("true");
    } else if (vt == "string" || (vt.empty() && !c.text.empty())) {
        out.type = CellType::String;
        out.text = c.has_string_value ? c.string_value.toStdString() : c.text;
    } else if (!vt.empty() && c.has_string_value) {
        out.type = CellType::String;
        out.text = c.string_value.toStdString();
    }
    return out;
}

}  // namespace

Parsed parse_ods(ZipArchive& zip) {
    Parsed fail;
    Styles st;
    if (zip.has("styles.xml") && !read_styles(zip, "styles.xml", st, fail, false)) {
        return fail;
    }
    if (!read_styles(zip, "content.xml", st, fail, true)) {
        return fail;
    }
    std::string active;
    if (zip.has("settings.xml") && !read_active_table(zip, active, fail)) {
        return fail;
    }
    ContentReader reader(zip, st, active);
    return reader.run();
}

}  // namespace qvprt::files::sheet
