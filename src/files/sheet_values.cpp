// Values shared by the spreadsheet readers: dates from serials and ISO texts, number formats.
#include <QString>
#include <cmath>
#include <cstdio>

#include "files/sheet_parts.h"

namespace qvprt::files {

std::string iso_text(const SheetDateTime& d) {
    char buf[64];
    if (!d.has_date) {
        std::snprintf(buf, sizeof buf, "%02lld:%02d:%02d", d.hours, d.minute, d.second);
    } else if (d.hours == 0 && d.minute == 0 && d.second == 0) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    } else {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02lld:%02d:%02d", d.year, d.month, d.day,
                      d.hours, d.minute, d.second);
    }
    return buf;
}

namespace sheet {

void trim_trailing_rows(Sheet& s) {
    while (!s.rows.empty()) {
        const SheetRow& r = s.rows.back();
        if (r[0].type != CellType::Empty || r[1].type != CellType::Empty ||
            r[2].type != CellType::Empty) {
            break;
        }
        s.rows.pop_back();
    }
}

// Howard Hinnant's civil calendar algorithms, shifted so that 0001-01-01 is day 0.
long long days_from_civil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 306;
}

void civil_from_days(long long z, int& y, int& m, int& d) {
    z += 306;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

namespace {

void set_time(SheetDateTime& t, long long secs) {
    t.hours = secs / 3600;
    t.minute = static_cast<int>(secs / 60 % 60);
    t.second = static_cast<int>(secs % 60);
}

// Excel's last day, 9999-12-31, as a 1900 serial.
constexpr double kMaxSerial = 2958466.0;

}  // namespace

std::optional<SheetDateTime> serial_date(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial >= kMaxSerial) {
        return std::nullopt;
    }
    const long long total = std::llround(serial * 86400.0);
    long long days = total / 86400;
    SheetDateTime t;
    set_time(t, total % 86400);
    if (days == 0) {
        t.has_date = false;
        return t;
    }
    if (date1904) {
        days += days_from_civil(1904, 1, 1);
    } else {
        // The 1900 system counts a 29 February 1900 that never was: serials below it are a day
        // later than a plain count from 1899-12-30, and the phantom day itself shows as the 28th.
        days += days_from_civil(1899, 12, 30) + (days < 60 ? 1 : 0);
    }
    civil_from_days(days, t.year, t.month, t.day);
    return t;
}

namespace {

bool digits(std::string_view s, std::size_t pos, std::size_t n, int& out) {
    if (pos + n > s.size()) {
        return false;
    }
    out = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

// "HH:MM:SS[.fff]" at `pos`: seconds of the day, with the fraction.
bool iso_time(std::string_view s, std::size_t pos, double& secs) {
    int h = 0, mi = 0, se = 0;
    if (!digits(s, pos, 2, h) || pos + 2 >= s.size() || s[pos + 2] != ':' ||
        !digits(s, pos + 3, 2, mi)) {
        return false;
    }
    std::size_t p = pos + 5;
    if (p < s.size() && s[p] == ':') {
        if (!digits(s, p + 1, 2, se)) {
            return false;
        }
        p += 3;
    }
    double frac = 0, scale = 0.1;
    if (p < s.size() && s[p] == '.') {
        for (++p; p < s.size() && s[p] >= '0' && s[p] <= '9'; ++p) {
            frac += (s[p] - '0') * scale;
            scale /= 10;
        }
    }
    // A zone suffix (Z, +08:00) is taken as written: workbooks keep local times.
    if (h > 24 || mi > 59 || se > 60) {
        return false;
    }
    secs = h * 3600.0 + mi * 60.0 + se + frac;
    return true;
}

}  // namespace

std::optional<SheetDateTime> iso_date(std::string_view s, long long null_days, double& serial) {
    SheetDateTime t;
    double secs = 0;
    if (s.size() >= 5 && s[2] == ':') {
        if (!iso_time(s, 0, secs)) {
            return std::nullopt;
        }
        const long long whole = std::llround(secs);
        if (whole >= 86400) {
            return std::nullopt;
        }
        t.has_date = false;
        set_time(t, whole);
        serial = secs / 86400.0;
        return t;
    }
    int y = 0, m = 0, d = 0;
    if (!digits(s, 0, 4, y) || s.size() < 10 || s[4] != '-' || !digits(s, 5, 2, m) || s[7] != '-' ||
        !digits(s, 8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31) {
        return std::nullopt;
    }
    if (s.size() > 10 && (s[10] == 'T' || s[10] == ' ') && !iso_time(s, 11, secs)) {
        return std::nullopt;
    }
    long long whole = std::llround(secs);
    long long days = days_from_civil(y, m, d) + whole / 86400;
    whole %= 86400;
    civil_from_days(days, t.year, t.month, t.day);
    set_time(t, whole);
    serial = static_cast<double>(days - null_days) + static_cast<double>(whole) / 86400.0;
    return t;
}

bool builtin_date_format(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

bool date_format_code(std::string_view code) {
    // Drop quoted text, escaped and padding characters, then bracketed parts.
    std::string s;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t end = code.find('"', i + 1);
            i = end == std::string_view::npos ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            const std::size_t end = code.find(']', i + 1);
            i = end == std::string_view::npos ? code.size() : end;
        } else {
            s += c;
        }
    }
    if (s == "0.00E+00" || s == "##0.0E+0" || s == "@") {
        return false;
    }
    int date_chars = 0, number_chars = 0;
    for (char c : s) {
        switch (c) {
            case 'y':
            case 'm':
            case 'd':
            case 'h':
            case 's':
            case 'Y':
            case 'M':
            case 'D':
            case 'H':
            case 'S':
                ++date_chars;
                break;
            case '0':
            case '#':
            case '?':
                ++number_chars;
                break;
            default:
                break;
        }
    }
    // "General" holds letters of a date code too.
    if (s.find("eneral") != std::string::npos || s.find("ENERAL") != std::string::npos) {
        return false;
    }
    return date_chars > number_chars;
}

std::string builtin_format_code(int id) {
    switch (id) {
        case 0:
            return {};
        case 1:
            return "0";
        case 2:
            return "0.00";
        case 3:
            return "#,##0";
        case 4:
            return "#,##0.00";
        case 5:
            return "$#,##0_);($#,##0)";
        case 6:
            return "$#,##0_);[Red]($#,##0)";
        case 7:
            return "$#,##0.00_);($#,##0.00)";
        case 8:
            return "$#,##0.00_);[Red]($#,##0.00)";
        case 9:
            return "0%";
        case 10:
            return "0.00%";
        case 11:
            return "0.00E+00";
        case 12:
            return "# ?/?";
        case 13:
            return "# ?\?/?\?";
        case 14:
            return "m/d/yy";
        case 15:
            return "d-mmm-yy";
        case 16:
            return "d-mmm";
        case 17:
            return "mmm-yy";
        case 18:
            return "h:mm AM/PM";
        case 19:
            return "h:mm:ss AM/PM";
        case 20:
            return "h:mm";
        case 21:
            return "h:mm:ss";
        case 22:
            return "m/d/yy h:mm";
        case 37:
            return "#,##0_);(#,##0)";
        case 38:
            return "#,##0_);[Red](#,##0)";
        case 39:
            return "#,##0.00_);(#,##0.00)";
        case 40:
            return "#,##0.00_);[Red](#,##0.00)";
        case 41:
            return "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)";
        case 42:
            return "_($* #,##0_);_($* (#,##0);_($* \"-\"_);_(@_)";
        case 43:
            return "_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"?\?_);_(@_)";
        case 44:
            return "_($* #,##0.00_);_($* (#,##0.00);_($* \"-\"?\?_);_(@_)";
        case 45:
            return "mm:ss";
        case 46:
            return "[h]:mm:ss";
        case 47:
            return "mm:ss.0";
        case 48:
            return "##0.0E+0";
        case 49:
            return "@";
        default:
            return "builtin:" + std::to_string(id);
    }
}

NumberFormat number_format(long long id, const std::map<long long, std::string>& codes) {
    if (const auto it = codes.find(id); it != codes.end() && id != 0) {
        return {it->second, date_format_code(it->second)};
    }
    if (id < 0 || id > 0xFFFF) {
        return {};
    }
    return {builtin_format_code(static_cast<int>(id)), builtin_date_format(static_cast<int>(id))};
}

SheetCell number_cell(double value, std::string code, bool is_date, bool date1904) {
    SheetCell c;
    c.number = value;
    if (code == "General" || code == "GENERAL" || code == "general") {
        code.clear();
    }
    c.format = std::move(code);
    if (is_date) {
        if (std::optional<SheetDateTime> d = serial_date(value, date1904)) {
            c.type = CellType::Date;
            c.date = *d;
            return c;
        }
    }
    c.type = CellType::Number;
    return c;
}

bool is_utf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2, min = 0x80, cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3, min = 0x800, cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4, min = 0x10000, cp = b & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(len) > n) {
            return false;
        }
        for (int k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::string valid_utf8(std::string_view s) {
    if (is_utf8(s)) {
        return std::string(s);
    }
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toStdString();
}

}  // namespace sheet
}  // namespace qvprt::files
