#include "text/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>

namespace qvprt::text {
namespace {

bool is_lead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
// GB 18030 second bytes 0x30..0x39 start a four-byte code; GBK trail bytes exclude them.
bool is_trail(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}

// One codec of each direction per thread: opening one costs more than converting a whole row's
// texts, and the grid converts texts cell by cell.
QStringDecoder& decoder() {
    thread_local QStringDecoder dec("GB18030", QStringConverter::Flag::Stateless);
    dec.resetState();
    return dec;
}
QStringEncoder& encoder() {
    thread_local QStringEncoder enc("GB18030", QStringConverter::Flag::Stateless);
    enc.resetState();
    return enc;
}

// Decodes one two-byte code; returns U+FFFD when the codec has no mapping for it.
char16_t decode_pair(QStringDecoder& dec, unsigned char lead, unsigned char trail) {
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    const QString s = dec.decode(QByteArrayView(pair, 2));
    dec.resetState();
    if (dec.hasError() || s.size() != 1) {
        return 0xFFFD;
    }
    return s.at(0).unicode();
}

}  // namespace

std::size_t gbk_find(std::string_view bytes, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= bytes.size() ? from : std::string_view::npos;
    }
    for (std::size_t i = from; i < bytes.size(); i += gbk_char_length(bytes, i)) {
        if (bytes.substr(i, needle.size()) == needle) {
            return i;
        }
    }
    return std::string_view::npos;
}

int gbk_count(std::string_view bytes, std::string_view needle, std::size_t* last) {
    int count = 0;
    std::size_t found = std::string_view::npos;
    if (!needle.empty()) {
        for (std::size_t i = gbk_find(bytes, needle); i != std::string_view::npos;
             i = gbk_find(bytes, needle, i + needle.size())) {
            ++count;
            found = i;
        }
    }
    if (last != nullptr) {
        *last = found;
    }
    return count;
}

int gbk_replace_all(std::string& bytes, std::string_view needle, std::string_view replacement) {
    if (needle.empty()) {
        return 0;
    }
    int count = 0;
    for (std::size_t i = gbk_find(bytes, needle); i != std::string_view::npos;
         i = gbk_find(bytes, needle, i + replacement.size())) {
        bytes.replace(i, needle.size(), replacement);
        ++count;
    }
    return count;
}

bool gbk_replace_first(std::string& bytes, std::string_view needle, std::string_view replacement) {
    const std::size_t i = needle.empty() ? std::string_view::npos : gbk_find(bytes, needle);
    if (i == std::string_view::npos) {
        return false;
    }
    bytes.replace(i, needle.size(), replacement);
    return true;
}

DecodeResult decode_gbk(std::string_view gbk) {
    DecodeResult r;
    r.text.reserve(gbk.size());
    QStringDecoder& dec = decoder();
    for (std::size_t i = 0; i < gbk.size();) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            r.text.push_back(static_cast<char16_t>(b));
            ++i;
            continue;
        }
        if (!is_lead(b) || i + 1 >= gbk.size() ||
            !is_trail(static_cast<unsigned char>(gbk[i + 1]))) {
            r.bad_offset = i;
            return r;
        }
        const char16_t c = decode_pair(dec, b, static_cast<unsigned char>(gbk[i + 1]));
        if (c == 0xFFFD) {
            r.bad_offset = i;
            return r;
        }
        r.text.push_back(c);
        i += 2;
    }
    r.ok = true;
    return r;
}

std::u16string gbk_to_utf16(std::string_view gbk) {
    std::u16string out;
    out.reserve(gbk.size());
    QStringDecoder& dec = decoder();
    for (std::size_t i = 0; i < gbk.size();) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char16_t>(b));
            ++i;
        } else if (is_lead(b) && i + 1 < gbk.size() &&
                   is_trail(static_cast<unsigned char>(gbk[i + 1]))) {
            out.push_back(decode_pair(dec, b, static_cast<unsigned char>(gbk[i + 1])));
            i += 2;
        } else {
            out.push_back(0xFFFD);
            ++i;
        }
    }
    return out;
}

std::string gbk_to_utf8(std::string_view gbk) {
    return utf16_to_utf8(gbk_to_utf16(gbk));
}

EncodeResult encode_gbk(std::u16string_view utf16) {
    EncodeResult r;
    std::string out;
    out.reserve(utf16.size() * 2);
    QStringEncoder* enc = nullptr;  // ASCII alone needs none
    std::size_t index = 0;
    for (std::size_t i = 0; i < utf16.size(); ++index) {
        char32_t c = utf16[i];
        std::size_t units = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            units = 2;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            i += units;
            continue;
        }
        // Supplementary characters and lone surrogates never have a two-byte code.
        bool encoded = false;
        if (units == 1 && !(c >= 0xD800 && c <= 0xDFFF)) {
            const QChar qc(static_cast<char16_t>(c));
            if (enc == nullptr) {
                enc = &encoder();
            }
            const QByteArray b = enc->encode(QStringView(&qc, 1));
            const bool err = enc->hasError();
            enc->resetState();
            if (!err && b.size() == 2 && is_lead(static_cast<unsigned char>(b[0])) &&
                is_trail(static_cast<unsigned char>(b[1]))) {
                out.append(b.constData(), 2);
                encoded = true;
            }
        }
        if (!encoded) {
            r.refused = c;
            r.refused_index = index;
            return r;
        }
        i += units;
    }
    r.ok = true;
    r.bytes = std::move(out);
    return r;
}

EncodeResult utf8_to_gbk(std::string_view utf8) {
    return encode_gbk(utf8_to_utf16(utf8));
}

std::string code_point_name(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

std::string utf16_to_utf8(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())).toStdString();
}

std::u16string utf8_to_utf16(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toStdU16String();
}

}  // namespace qvprt::text

namespace qvprt::text {
std::string gbk(std::string_view utf8) {
    std::u16string u = utf8_to_utf16(utf8);
    for (;;) {
        EncodeResult r = encode_gbk(u);
        if (r.ok) {
            return r.bytes;
        }
        // Replace the refused character (one or two UTF-16 units) by '?' and go on.
        std::size_t unit = 0;
        for (std::size_t cp = 0; cp < r.refused_index; ++cp) {
            unit += (u[unit] >= 0xD800 && u[unit] <= 0xDBFF && unit + 1 < u.size()) ? 2 : 1;
        }
        const std::size_t len = (r.refused > 0xFFFF) ? 2 : 1;
        u.replace(unit, len, u"?");
    }
}
}  // namespace qvprt::text
