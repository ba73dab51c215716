#pragma once
// GBK text, as the printer, the files and the grid hold it, and its conversion to Unicode.
//
// Only one- and two-byte codes exist for us: ASCII (with the control bytes the segment text uses)
// and the two-byte GBK codes, the user-defined area AA A1 .. AF FE included, which maps to the
// private-use area U+E000 .. so the marks and symbols survive a round trip through Qt.

#include <cstddef>
#include <string>
#include <string_view>

namespace qvprt::text {

// Length of the GBK character that starts at bytes[pos]: 2 for a lead byte (0x81 or above) that has
// a second byte, else 1. Every search over segment text walks with this, so that no match begins on
// the second byte of a character.
inline std::size_t gbk_char_length(std::string_view bytes, std::size_t pos) {
    const auto b = static_cast<unsigned char>(bytes[pos]);
    return (b >= 0x81 && pos + 1 < bytes.size()) ? 2 : 1;
}

// Position of the first occurrence of `needle` in `bytes` that starts on a character boundary, or
// npos.
std::size_t gbk_find(std::string_view bytes, std::string_view needle, std::size_t from = 0);

// Number of occurrences of `needle` found by gbk_find, each search going on after the last match.
// `last` (optional) receives where the last one starts, or npos.
int gbk_count(std::string_view bytes, std::string_view needle, std::size_t* last = nullptr);

// Replaces every occurrence found by gbk_find; the search goes on after each replacement, so a
// replacement never takes part in a later match. Answers the number replaced.
int gbk_replace_all(std::string& bytes, std::string_view needle, std::string_view replacement);

// Replaces the first occurrence only; answers whether there was one.
bool gbk_replace_first(std::string& bytes, std::string_view needle, std::string_view replacement);

struct DecodeResult {
    bool ok = false;
    std::u16string text;         // on failure: what decoded before the fault
    std::size_t bad_offset = 0;  // byte offset of the first byte that is no one- or two-byte code
};

struct EncodeResult {
    bool ok = false;
    std::string bytes;              // on failure: empty
    char32_t refused = 0;           // the first character without a one- or two-byte GBK code
    std::size_t refused_index = 0;  // its position, in code points
};

DecodeResult decode_gbk(std::string_view gbk);
// Never fails: bytes that are no GBK code come out as U+FFFD. For showing whatever a file holds.
std::u16string gbk_to_utf16(std::string_view gbk);
std::string gbk_to_utf8(std::string_view gbk);

EncodeResult encode_gbk(std::u16string_view utf16);
EncodeResult utf8_to_gbk(std::string_view utf8);

// "U+20AC" style name of a refused character, for messages.
std::string code_point_name(char32_t c);

std::string utf16_to_utf8(std::u16string_view s);
std::u16string utf8_to_utf16(std::string_view s);

}  // namespace qvprt::text

namespace qvprt::text {
// GBK bytes of a UTF-8 literal of our own (message texts, box entries). Such texts only hold
// characters GBK has; a character without a code would come out as '?', never as nothing.
std::string gbk(std::string_view utf8);
}  // namespace qvprt::text
