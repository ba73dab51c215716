// .xls (BIFF8): the workbook globals (sheet list, active tab, date system, formats, shared
// strings), then the cell records of the active sheet's substream.
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "files/sheet_ole.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace qvprt::files::sheet {
namespace {

enum : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kWindow1 = 0x003D,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

// Fields of a record body; the callers check the body's size first.
const unsigned char* at_byte(std::string_view b, std::size_t at) {
    return reinterpret_cast<const unsigned char*>(b.data()) + at;
}
std::uint16_t le16(std::string_view b, std::size_t at) {
    return text::get_le16(at_byte(b, at));
}
std::uint32_t le32(std::string_view b, std::size_t at) {
    return text::get_le32(at_byte(b, at));
}

struct Record {
    std::uint16_t type = 0;
    std::size_t pos = 0;  // of the body in the stream
    std::size_t size = 0;
};

// The records of a BIFF stream, each checked against the stream's end.
class Records {
  public:
    explicit Records(std::string_view s) : s_(s) {}

    bool seek(std::size_t pos) {
        pos_ = pos;
        return pos <= s_.size();
    }
    // False at the end of the stream or when a record runs past it (`truncated` then).
    bool next(Record& r) {
        if (pos_ + 4 > s_.size()) {
            truncated_ = pos_ < s_.size();
            return false;
        }
        r.type = u16(pos_);
        r.size = u16(pos_ + 2);
        r.pos = pos_ + 4;
        if (r.pos + r.size > s_.size()) {
            truncated_ = true;
            return false;
        }
        pos_ = r.pos + r.size;
        return true;
    }
    // The CONTINUE records that follow the last one, as body segments.
    void continues(std::vector<std::string_view>& segs) {
        Record r;
        std::size_t save = pos_;
        while (next(r) && r.type == kContinue) {
            segs.push_back(s_.substr(r.pos, r.size));
            save = pos_;
        }
        pos_ = save;
        truncated_ = false;
    }
    std::string_view body(const Record& r) const { return s_.substr(r.pos, r.size); }
    bool truncated() const { return truncated_; }
    std::size_t offset() const { return pos_; }

  private:
    std::uint16_t u16(std::size_t p) const { return text::get_le16(at_byte(s_, p)); }
    std::string_view s_;
    std::size_t pos_ = 0;
    bool truncated_ = false;
};

// Reads across a record and its CONTINUE records. Character data that crosses into the next
// segment starts there with a fresh flag byte that says whether its characters are 8 or 16 bits.
class Cursor {
  public:
    explicit Cursor(std::vector<std::string_view> segs) : segs_(std::move(segs)) {}
    explicit Cursor(std::string_view one) : segs_{one} {}

    bool byte(unsigned char& b) {
        while (seg_ < segs_.size() && pos_ >= segs_[seg_].size()) {
            ++seg_;
            pos_ = 0;
        }
        if (seg_ >= segs_.size()) {
            return false;
        }
        b = static_cast<unsigned char>(segs_[seg_][pos_++]);
        return true;
    }
    template <typename T>
    bool le(T& v) {
        std::uint64_t x = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            unsigned char b = 0;
            if (!byte(b)) {
                return false;
            }
            x |= static_cast<std::uint64_t>(b) << (8 * i);
        }
        v = static_cast<T>(x);
        return true;
    }
    bool skip(std::uint64_t n) {
        while (n > 0) {
            if (seg_ >= segs_.size()) {
                return false;
            }
            const std::size_t avail = segs_[seg_].size() - pos_;
            if (avail == 0) {
                ++seg_;
                pos_ = 0;
                continue;
            }
            const std::size_t k = static_cast<std::size_t>(std::min<std::uint64_t>(n, avail));
            pos_ += k;
            n -= k;
        }
        return true;
    }
    bool chars(std::size_t count, bool wide, std::u16string& out) {
        out.clear();
        while (count > 0) {
            if (seg_ < segs_.size() && pos_ >= segs_[seg_].size()) {
                ++seg_;
                pos_ = 0;
                unsigned char flags = 0;
                if (!byte(flags)) {
                    return false;
                }
                wide = (flags & 1) != 0;
            }
            if (seg_ >= segs_.size()) {
                return false;
            }
            const std::size_t width = wide ? 2 : 1;
            const std::size_t avail = (segs_[seg_].size() - pos_) / width;
            if (avail == 0) {
                return false;
            }
            const std::size_t k = std::min(count, avail);
            const std::string_view s = segs_[seg_].substr(pos_, k * width);
            for (std::size_t i = 0; i < k; ++i) {
                out.push_back(
                    wide ? static_cast<char16_t>(static_cast<unsigned char>(s[2 * i]) |
                                                 (static_cast<unsigned char>(s[2 * i + 1]) << 8))
                         : static_cast<char16_t>(static_cast<unsigned char>(s[i])));
            }
            pos_ += k * width;
            count -= k;
        }
        return true;
    }
    // A BIFF8 unicode string: `count_bytes` (1 or 2) of character count, flags, optional rich-text
    // and phonetic sizes, the characters, then the runs and phonetic data, which are skipped.
    bool string(int count_bytes, std::string& out) {
        std::uint16_t cch = 0;
        if (count_bytes == 1) {
            unsigned char c = 0;
            if (!byte(c)) {
                return false;
            }
            cch = c;
        } else if (!le(cch)) {
            return false;
        }
        unsigned char flags = 0;
        if (!byte(flags)) {
            return false;
        }
        std::uint16_t runs = 0;
        std::uint32_t ext = 0;
        if (((flags & 0x08) && !le(runs)) || ((flags & 0x04) && !le(ext))) {
            return false;
        }
        std::u16string u;
        if (!chars(cch, (flags & 1) != 0, u) || !skip(4ULL * runs) || !skip(ext)) {
            return false;
        }
        out = text::utf16_to_utf8(u);
        return true;
    }

  private:
    std::vector<std::string_view> segs_;
    std::size_t seg_ = 0;
    std::size_t pos_ = 0;
};

double le_double(std::string_view b, std::size_t at) {
    std::uint64_t x = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        x |= static_cast<std::uint64_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    }
    double d = 0;
    std::memcpy(&d, &x, sizeof d);
    return d;
}

double rk_value(std::uint32_t rk) {
    double v = 0;
    if (rk & 2) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t x = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &x, sizeof v);
    }
    return (rk & 1) ? v / 100 : v;
}

const char* error_text(unsigned code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        case 0x2B:
            return "#GETTING_DATA";
        default:
            return "#ERR!";
    }
}

struct Globals {
    std::vector<std::pair<std::string, std::uint32_t>> sheets;  // name, substream offset
    std::vector<bool> worksheet;
    unsigned active = 0;
    bool window_seen = false;
    bool date1904 = false;
    std::map<long long, std::string> formats;
    std::vector<long long> xf_format;
    std::vector<std::string> sst;
};

std::string at_offset(const Records& recs) {
    return "在第" + std::to_string(recs.offset()) + "字节处";
}

Parsed read_globals(Records& recs, Globals& g) {
    Record r;
    if (!recs.next(r) || r.type != kBof || r.size < 4) {
        if (r.type == 0x0009 || r.type == 0x0209 || r.type == 0x0409) {
            return failed(SheetError::OldExcel);
        }
        return damaged("工作簿数据流不以BOF记录开始");
    }
    const std::string_view bof = recs.body(r);
    if (le16(bof, 0) != 0x0600) {
        return failed(SheetError::OldExcel);
    }
    while (recs.next(r)) {
        const std::string_view b = recs.body(r);
        switch (r.type) {
            case kEof:
                return {};
            case kFilePass:
                return failed(SheetError::Encrypted);
            case kDateMode:
                if (b.size() >= 2) {
                    g.date1904 = le16(b, 0) == 1;
                }
                break;
            case kWindow1:
                if (b.size() >= 12 && !g.window_seen) {
                    g.active = le16(b, 10);
                    g.window_seen = true;
                }
                break;
            case kBoundSheet: {
                if (b.size() < 8) {
                    return damaged("工作表目录记录" + at_offset(recs) + "不完整");
                }
                Cursor c(b.substr(6));
                std::string name;
                if (!c.string(1, name)) {
                    return damaged("工作表名称" + at_offset(recs) + "不完整");
                }
                g.sheets.emplace_back(std::move(name), le32(b, 0));
                g.worksheet.push_back((static_cast<unsigned char>(b[5]) & 0x0F) == 0);
                break;
            }
            case kFormat: {
                if (b.size() < 5) {
                    break;
                }
                Cursor c(b.substr(2));
                std::string code;
                if (c.string(2, code)) {
                    g.formats[le16(b, 0)] = std::move(code);
                }
                break;
            }
            case kXf:
                if (b.size() >= 4) {
                    g.xf_format.push_back(le16(b, 2));
                }
                break;
            case kSst: {
                if (b.size() < 8) {
                    return damaged("共享字符串表" + at_offset(recs) + "不完整");
                }
                std::vector<std::string_view> segs{b.substr(8)};
                recs.continues(segs);
                Cursor c(std::move(segs));
                // The count in the header is not trusted: strings are read while data lasts.
                const std::uint32_t unique = le32(b, 4);
                std::string s;
                for (std::uint32_t i = 0; i < unique && c.string(2, s); ++i) {
                    g.sst.push_back(std::move(s));
                }
                break;
            }
            default:
                break;
        }
    }
    return damaged("工作簿数据流在全局记录结束之前就结束了");
}

Parsed read_cells(Records& recs, const Globals& g) {
    Parsed p;
    Record r;
    if (!recs.next(r) || r.type != kBof) {
        return damaged("活动工作表的数据不以BOF记录开始");
    }
    auto cell_at = [&](std::uint16_t row, std::uint16_t col) -> SheetCell* {
        if (row >= kSheetRows || col >= kSheetColumns) {
            return nullptr;
        }
        if (p.sheet.rows.size() <= row) {
            p.sheet.rows.resize(row + 1u);
        }
        return &p.sheet.rows[row][col];
    };
    auto number = [&](std::uint16_t xf, double v) {
        long long id = 0;
        if (xf < g.xf_format.size()) {
            id = g.xf_format[xf];
        }
        NumberFormat nf = number_format(id, g.formats);
        return number_cell(v, std::move(nf.code), nf.is_date, g.date1904);
    };
    // The formula whose text result follows as STRING, by place: later cells may move the rows.
    std::optional<std::pair<std::uint16_t, std::uint16_t>> pending_string;
    int depth = 0;  // embedded substreams (charts) inside the sheet
    while (recs.next(r)) {
        const std::string_view b = recs.body(r);
        if (r.type == kBof) {
            ++depth;
            continue;
        }
        if (r.type == kEof) {
            if (depth-- == 0) {
                trim_trailing_rows(p.sheet);
                return p;
            }
            continue;
        }
        if (depth > 0) {
            continue;
        }
        const bool has_cell =
            b.size() >= 6 &&
            (r.type == kLabelSst || r.type == kLabel || r.type == kRString || r.type == kNumber ||
             r.type == kRk || r.type == kBoolErr || r.type == kFormula);
        SheetCell* c = has_cell ? cell_at(le16(b, 0), le16(b, 2)) : nullptr;
        const std::uint16_t xf = has_cell ? le16(b, 4) : 0;
        switch (r.type) {
            case kLabelSst:
                if (c != nullptr && b.size() >= 10) {
                    const std::uint32_t i = le32(b, 6);
                    if (i >= g.sst.size()) {
                        return damaged("共享字符串编号" + std::to_string(i) + "超出范围");
                    }
                    *c = SheetCell{};
                    c->type = CellType::String;
                    c->text = g.sst[i];
                }
                break;
            case kLabel:
            case kRString:
                if (c != nullptr) {
                    std::vector<std::string_view> segs{b.substr(6)};
                    recs.continues(segs);
                    Cursor cur(std::move(segs));
                    std::string s;
                    if (!cur.string(2, s)) {
                        return damaged("文本单元格" + at_offset(recs) + "不完整");
                    }
                    *c = SheetCell{};
                    c->type = CellType::String;
                    c->text = std::move(s);
                }
                break;
            case kNumber:
                if (c != nullptr && b.size() >= 14) {
                    *c = number(xf, le_double(b, 6));
                }
                break;
            case kRk:
                if (c != nullptr && b.size() >= 10) {
                    *c = number(xf, rk_value(le32(b, 6)));
                }
                break;
            case kMulRk:
                if (b.size() >= 6) {
                    const std::uint16_t row = le16(b, 0);
                    const std::uint16_t first = le16(b, 2);
                    const std::size_t n = (b.size() - 6) / 6;
                    for (std::size_t i = 0; i < n; ++i) {
                        const std::size_t at = 4 + 6 * i;
                        if (SheetCell* mc = cell_at(row, static_cast<std::uint16_t>(first + i))) {
                            *mc = number(le16(b, at), rk_value(le32(b, at + 2)));
                        }
                    }
                }
                break;
            case kBoolErr:
                if (c != nullptr && b.size() >= 8) {
                    *c = SheetCell{};
                    if (b[7] != 0) {
                        c->type = CellType::Error;
                        c->text = error_text(static_cast<unsigned char>(b[6]));
                    } else {
                        c->type = CellType::Bool;
                        c->boolean = b[6] != 0;
                    }
                }
                break;
            case kFormula:
                pending_string.reset();
                if (c != nullptr && b.size() >= 14) {
                    *c = SheetCell{};
                    if (le16(b, 12) != 0xFFFF) {
                        *c = number(xf, le_double(b, 6));
                    } else {
                        switch (static_cast<unsigned char>(b[6])) {
                            case 0:
                                pending_string.emplace(le16(b, 0), le16(b, 2));
                                break;
                            case 1:
                                c->type = CellType::Bool;
                                c->boolean = b[8] != 0;
                                break;
                            case 2:
                                c->type = CellType::Error;
                                c->text = error_text(static_cast<unsigned char>(b[8]));
                                break;
                            case 3:
                                c->type = CellType::String;
                                break;
                            default:
                                break;
                        }
                    }
                    c->formula = true;
                }
                break;
            case kString:
                if (pending_string) {
                    std::vector<std::string_view> segs{b};
                    recs.continues(segs);
                    Cursor cur(std::move(segs));
                    std::string s;
                    if (!cur.string(2, s)) {
                        return damaged("公式的文本结果" + at_offset(recs) + "不完整");
                    }
                    if (SheetCell* t = cell_at(pending_string->first, pending_string->second)) {
                        t->type = CellType::String;
                        t->text = std::move(s);
                    }
                    pending_string.reset();
                }
                break;
            default:
                break;
        }
    }
    return damaged("活动工作表的数据" + at_offset(recs) + "被截断");
}

}  // namespace

Parsed parse_xls(Bytes bytes) {
    std::string stream;
    Parsed p = read_ole_workbook(bytes, stream);
    if (p.error != SheetError::None) {
        return p;
    }
    return parse_biff(stream);
}

Parsed parse_biff(std::string_view stream) {
    Parsed p;
    Records recs(stream);
    Globals g;
    p = read_globals(recs, g);
    if (p.error != SheetError::None) {
        return p;
    }
    if (g.sheets.empty()) {
        return failed(SheetError::NoSheet);
    }
    const std::size_t active = g.active < g.sheets.size() ? g.active : 0;
    Parsed out;
    if (g.worksheet[active]) {
        if (!recs.seek(g.sheets[active].second)) {
            return damaged("活动工作表的位置超出了文件");
        }
        out = read_cells(recs, g);
    }
    out.sheet.name = g.sheets[active].first;
    return out;
}

}  // namespace qvprt::files::sheet
