#pragma once
// The byte encoding of segment text and the compilation of one row's cells into a record.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/segment_list.h"
#include "model/text_codes.h"

namespace qvprt::layout {

struct PunctuationPair {
    std::string_view replaced;
    std::string_view by;
};

// Full-width punctuation the printer has no glyph for, replaced in this order in both forms.
inline constexpr std::array<PunctuationPair, 24> punctuation_table{{
    {"\xA1\xBE", "["},   // 【
    {"\xA1\xBF", "]"},   // 】
    {"\xA3\xA8", "("},   // （
    {"\xA3\xA9", ")"},   // ）
    {"\xA3\xBB", ";"},   // ；
    {"\xA3\xBA", ":"},   // ：
    {"\xA1\xA3", "."},   // 。
    {"\xA3\xAC", ","},   // ，
    {"\xA1\xA2", ""},    // 、
    {"\xA3\xBF", "?"},   // ？
    {"\xA3\xA1", "!"},   // ！
    {"\xA1\xB6", "<"},   // 《
    {"\xA1\xB7", ">"},   // 》
    {"\xA3\xA4", "$"},   // ￥
    {"\xA1\xAD", ".."},  // …
    {"\xA1\xAA", "-"},   // —
    {"\xA1\xA4", "`"},   // ·
    {"\xA1\xB0", "\""},  // “
    {"\xA1\xB1", "\""},  // ”
    {"\xA1\xAE", "'"},   // ‘
    {"\xA1\xAF", "'"},   // ’
    {"\xA3\xA3", "#"},   // ＃
    {"\xA3\xA6", "&"},   // ＆
    {"\xA3\xC0", "@"},   // ＠
}};

// Occurrences of a mark in a cell, counted at character boundaries, and where the last one starts
// (npos when there is none).
struct MarkCount {
    int count = 0;
    std::size_t last = std::string_view::npos;
};
MarkCount count_marks(std::string_view cell, std::string_view mark);

// Applies punctuation_table to `s`.
void replace_punctuation(std::string& s);

// Builds the record's text and the counters derived from it from the row's two cells:
// double_line, the script counts, the serial flags (cleared only), wide_char_count. Text of 50
// bytes or more is cut to at most 50; answers true for such a row, and sets *cut when bytes were
// actually dropped. Does not measure.
bool compile_segment_text(model::SegmentNode& record, std::string_view first_line,
                          std::string_view second_line, bool edit_form, bool* cut = nullptr);

}  // namespace qvprt::layout
