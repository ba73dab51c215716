// .xlsx: the workbook part found through the package relationships, its sheet list, active tab and
// date system, then shared strings, number formats and the active sheet's first 1000 rows.
#include <QString>
#include <charconv>
#include <map>
#include <vector>

#include "files/sheet_xml.h"

namespace qvprt::files::sheet {
namespace {

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// A relationship target against the folder of the part that names it; "/x" is from the root.
std::string resolve(std::string_view dir, std::string_view target) {
    std::string path = target.starts_with('/') ? std::string(target.substr(1))
                                               : std::string(dir) + std::string(target);
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t to = path.find('/', from);
        if (to == std::string::npos) {
            to = path.size();
        }
        const std::string seg = path.substr(from, to - from);
        if (seg == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!seg.empty() && seg != ".") {
            parts.push_back(seg);
        }
        from = to + 1;
    }
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : "/") + p;
    }
    return out;
}

std::string folder_of(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

struct Rel {
    std::string target;
    std::string type;
};

// id -> relationship of `part`; empty when the part has no relationships.
bool read_rels(ZipArchive& zip, const std::string& part, std::map<std::string, Rel>& rels,
               Parsed& fail) {
    const std::string dir = folder_of(part);
    const std::string name = dir + "_rels/" + part.substr(dir.size()) + ".rels";
    if (!zip.has(name)) {
        return true;
    }
    XmlPart x(zip, name);
    while (!x.done()) {
        x.next();
        if (x.at_start("Relationship")) {
            const QStringView mode = x.attr("TargetMode");
            if (mode == QLatin1StringView("External")) {
                continue;
            }
            rels[utf8(x.attr("Id"))] = {resolve(dir, utf8(x.attr("Target"))), utf8(x.attr("Type"))};
        }
    }
    if (!x.ok()) {
        fail = x.failure();
        return false;
    }
    return true;
}

// "_xHHHH_" stands for the UTF-16 unit HHHH; "_x005F_" keeps a literal "_x....".
std::string unescape(const std::string& s) {
    if (s.find("_x") == std::string::npos) {
        return s;
    }
    const QString in = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    QString out;
    out.reserve(in.size());
    auto hex = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    };
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == u'_' && i + 6 < in.size() && in[i + 1] == u'x' && hex(in[i + 2]) &&
            hex(in[i + 3]) && hex(in[i + 4]) && hex(in[i + 5]) && in[i + 6] == u'_') {
            out += QChar(static_cast<char16_t>(in.mid(i + 2, 4).toUShort(nullptr, 16)));
            i += 6;
        } else {
            out += in[i];
        }
    }
    return out.toStdString();
}

bool parse_double(std::string_view s, double& v) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '+')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

struct Workbook {
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relationship id
    long long active = 0;
    bool date1904 = false;
};

bool read_workbook(ZipArchive& zip, const std::string& part, Workbook& wb, Parsed& fail) {
    XmlPart x(zip, part);
    bool view_seen = false;
    while (!x.done()) {
        x.next();
        if (x.at_start("sheet")) {
            wb.sheets.emplace_back(utf8(x.attr("name")), utf8(x.ns_attr("id")));
        } else if (x.at_start("workbookView") && !view_seen) {
            view_seen = true;
            wb.active = attr_number(x.attr("activeTab"), 0);
        } else if (x.at_start("workbookPr")) {
            const QStringView d = x.attr("date1904");
            wb.date1904 = d == QLatin1StringView("1") || d == QLatin1StringView("true");
        } else if (x.at_end("sheets")) {
            break;
        }
    }
    if (!x.ok()) {
        fail = x.failure();
        return false;
    }
    return true;
}

// Text of <t> elements, phonetic runs left out; `end` is the element that closes the string.
bool read_text(XmlPart& x, const char* end, std::string& out) {
    out.clear();
    int in_t = 0;
    int in_rph = 0;
    while (!x.done()) {
        x.next();
        if (x.is_start()) {
            if (x.name() == QLatin1StringView("rPh")) {
                ++in_rph;
            } else if (x.name() == QLatin1StringView("t")) {
                ++in_t;
            }
        } else if (x.is_end()) {
            if (x.name() == QLatin1StringView("rPh")) {
                --in_rph;
            } else if (x.name() == QLatin1StringView("t")) {
                --in_t;
            } else if (x.name() == QLatin1StringView(end)) {
                out = unescape(out);
                return true;
            }
        } else if (x.is_text() && in_t > 0 && in_rph == 0) {
            out += utf8(x.text());
        }
    }
    return false;
}

bool read_strings(ZipArchive& zip, const std::string& part, std::vector<std::string>& sst,
                  Parsed& fail) {
    XmlPart x(zip, part);
    std::string s;
    while (!x.done()) {
        x.next();
        if (x.at_start("si")) {
            if (read_text(x, "si", s)) {
                sst.push_back(s);
            }
        }
    }
    if (!x.ok()) {
        fail = x.failure();
        return false;
    }
    return true;
}

struct Styles {
    std::map<long long, std::string> codes;
    std::vector<long long> xf_format;  // cellXfs: numFmtId per style index
};

bool read_styles(ZipArchive& zip, const std::string& part, Styles& st, Parsed& fail) {
    XmlPart x(zip, part);
    bool in_xfs = false;
    while (!x.done()) {
        x.next();
        if (x.at_start("numFmt")) {
            st.codes[attr_number(x.attr("numFmtId"), -1)] = utf8(x.attr("formatCode"));
        } else if (x.at_start("cellXfs")) {
            in_xfs = true;
        } else if (x.at_end("cellXfs")) {
            in_xfs = false;
        } else if (in_xfs && x.at_start("xf")) {
            st.xf_format.push_back(attr_number(x.attr("numFmtId"), 0));
        }
    }
    if (!x.ok()) {
        fail = x.failure();
        return false;
    }
    return true;
}

// "BC12": column 55, row 12; either may be missing (0).
void cell_ref(QStringView r, long long& col, long long& row) {
    col = 0;
    row = 0;
    qsizetype i = 0;
    for (; i < r.size() && r[i].unicode() >= 'A' && r[i].unicode() <= 'Z'; ++i) {
        col = col * 26 + (r[i].unicode() - 'A' + 1);
        if (col > 1 << 20) {
            return;
        }
    }
    for (; i < r.size() && r[i].unicode() >= '0' && r[i].unicode() <= '9'; ++i) {
        row = row * 10 + (r[i].unicode() - '0');
        if (row > 1 << 24) {
            return;
        }
    }
}

struct Cell {
    long long col = 0;
    std::string type;
    long long style = 0;
    bool formula = false;
    bool has_value = false;
    std::string value;
};

bool make_cell(const Cell& c, const std::vector<std::string>& sst, const Styles& st, bool date1904,
               SheetCell& out, std::string& why) {
    out = SheetCell{};
    out.formula = c.formula;
    const std::string& t = c.type;
    if (t == "inlineStr") {
        out.type = CellType::String;
        out.text = c.value;
        return true;
    }
    if (!c.has_value) {
        return true;
    }
    if (t == "s") {
        long long i = -1;
        const auto [end, ec] = std::from_chars(c.value.data(), c.value.data() + c.value.size(), i);
        if (ec != std::errc() || i < 0 || static_cast<std::size_t>(i) >= sst.size()) {
            why = "共享字符串编号“" + c.value + "”超出范围";
            return false;
        }
        out.type = CellType::String;
        out.text = sst[static_cast<std::size_t>(i)];
    } else if (t == "str") {
        out.type = CellType::String;
        out.text = unescape(c.value);
    } else if (t == "b") {
        out.type = CellType::Bool;
        out.boolean = c.value == "1" || c.value == "true";
    } else if (t == "e") {
        out.type = CellType::Error;
        out.text = c.value;
    } else if (t == "d") {
        double serial = 0;
        const std::optional<SheetDateTime> d =
            iso_date(c.value, days_from_civil(1899, 12, 30), serial);
        if (!d) {
            why = "日期“" + c.value + "”无效";
            return false;
        }
        out.type = CellType::Date;
        out.date = *d;
        out.number = serial;
    } else {
        double v = 0;
        if (!parse_double(c.value, v)) {
            why = "数值“" + c.value + "”无效";
            return false;
        }
        long long id = 0;
        if (c.style > 0 && static_cast<std::size_t>(c.style) < st.xf_format.size()) {
            id = st.xf_format[static_cast<std::size_t>(c.style)];
        }
        NumberFormat nf = number_format(id, st.codes);
        const bool f = out.formula;
        out = number_cell(v, std::move(nf.code), nf.is_date, date1904);
        out.formula = f;
    }
    return true;
}

Parsed read_cells(ZipArchive& zip, const std::string& part, const std::vector<std::string>& sst,
                  const Styles& st, bool date1904) {
    Parsed p;
    XmlPart x(zip, part);
    long long row = 0;
    Cell c;
    bool in_cell = false;
    bool in_v = false;
    int in_is_t = 0;
    int in_rph = 0;
    bool in_is = false;
    std::string why;
    auto place = [&](SheetRow*& target) {
        target = nullptr;
        if (row < 1 || row > kSheetRows || c.col < 1 || c.col > kSheetColumns) {
            return;
        }
        if (p.sheet.rows.size() < static_cast<std::size_t>(row)) {
            p.sheet.rows.resize(static_cast<std::size_t>(row));
        }
        target = &p.sheet.rows[static_cast<std::size_t>(row - 1)];
    };
    while (!x.done()) {
        x.next();
        if (x.is_start()) {
            const QStringView n = x.name();
            if (n == QLatin1StringView("row")) {
                row = attr_number(x.attr("r"), row + 1);
                c.col = 0;
                if (row > kSheetRows) {
                    break;
                }
            } else if (n == QLatin1StringView("c")) {
                long long col = 0, r = 0;
                cell_ref(x.attr("r"), col, r);
                c.col = col > 0 ? col : c.col + 1;
                if (r > 0) {
                    row = r;
                }
                c.type = utf8(x.attr("t"));
                c.style = attr_number(x.attr("s"), 0);
                c.formula = false;
                c.has_value = false;
                c.value.clear();
                in_cell = true;
            } else if (in_cell && n == QLatin1StringView("f")) {
                c.formula = true;
            } else if (in_cell && n == QLatin1StringView("v")) {
                in_v = true;
                c.has_value = true;
            } else if (in_cell && n == QLatin1StringView("is")) {
                in_is = true;
            } else if (in_is && n == QLatin1StringView("t")) {
                ++in_is_t;
            } else if (in_is && n == QLatin1StringView("rPh")) {
                ++in_rph;
            }
        } else if (x.is_end()) {
            const QStringView n = x.name();
            if (n == QLatin1StringView("v")) {
                in_v = false;
            } else if (n == QLatin1StringView("t") && in_is_t > 0) {
                --in_is_t;
            } else if (n == QLatin1StringView("rPh") && in_rph > 0) {
                --in_rph;
            } else if (n == QLatin1StringView("is")) {
                in_is = false;
                if (c.type == "inlineStr") {
                    c.value = unescape(c.value);
                }
            } else if (n == QLatin1StringView("c") && in_cell) {
                in_cell = false;
                SheetRow* target = nullptr;
                place(target);
                if (target != nullptr &&
                    !make_cell(c, sst, st, date1904, (*target)[static_cast<std::size_t>(c.col - 1)],
                               why)) {
                    return damaged("“" + part + "”中" + why);
                }
            } else if (n == QLatin1StringView("sheetData")) {
                break;
            }
        } else if (x.is_text() && in_cell) {
            if (in_v || (in_is && in_is_t > 0 && in_rph == 0)) {
                c.value += utf8(x.text());
            }
        }
    }
    if (!x.ok()) {
        return x.failure();
    }
    trim_trailing_rows(p.sheet);
    return p;
}

}  // namespace

Parsed parse_xlsx(ZipArchive& zip) {
    Parsed fail;
    std::map<std::string, Rel> root;
    if (!read_rels(zip, "", root, fail)) {
        return fail;
    }
    std::string book = "xl/workbook.xml";
    for (const auto& [id, rel] : root) {
        if (ends_with(rel.type, "/officeDocument") && zip.has(rel.target)) {
            book = rel.target;
        }
    }
    Workbook wb;
    if (!read_workbook(zip, book, wb, fail)) {
        return fail;
    }
    if (wb.sheets.empty()) {
        return failed(SheetError::NoSheet);
    }
    std::map<std::string, Rel> rels;
    if (!read_rels(zip, book, rels, fail)) {
        return fail;
    }
    const std::string dir = folder_of(book);
    std::string strings_part = dir + "sharedStrings.xml";
    std::string styles_part = dir + "styles.xml";
    for (const auto& [id, rel] : rels) {
        if (ends_with(rel.type, "/sharedStrings")) {
            strings_part = rel.target;
        } else if (ends_with(rel.type, "/styles")) {
            styles_part = rel.target;
        }
    }
    const std::size_t active =
        wb.active >= 0 && static_cast<std::size_t>(wb.active) < wb.sheets.size()
            ? static_cast<std::size_t>(wb.active)
            : 0;
    std::string sheet_part = dir + "worksheets/sheet" + std::to_string(active + 1) + ".xml";
    if (const auto it = rels.find(wb.sheets[active].second); it != rels.end()) {
        sheet_part = it->second.target;
    }
    std::vector<std::string> sst;
    if (zip.has(strings_part) && !read_strings(zip, strings_part, sst, fail)) {
        return fail;
    }
    Styles st;
    if (zip.has(styles_part) && !read_styles(zip, styles_part, st, fail)) {
        return fail;
    }
    Parsed p = read_cells(zip, sheet_part, sst, st, wb.date1904);
    p.sheet.name = wb.sheets[active].first;
    return p;
}

}  // namespace qvprt::files::sheet
