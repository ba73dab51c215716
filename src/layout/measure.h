#pragma once
// How many print dots a segment's text takes along the material, the segment length that follows
// from it, whether it fits a fixed length, and the automatic font size. Pure computation on one
// record and three job settings.

#include <array>
#include <cstdint>
#include <string_view>

#include "model/coded_values.h"
#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::layout {

inline constexpr int kFontSizes = model::kFontSizes.size();  // 0 .. 6
inline constexpr int kCharScales = model::kCharScales;       // 100%, 50%, external font library

// Dots per single-byte character by char_scale, font_size and direction (horizontal, vertical).
inline constexpr std::array<std::array<std::array<int, 2>, kFontSizes>, kCharScales>
    narrow_width_table{{
        {{{6, 9}, {16, 16}, {24, 24}, {32, 32}, {40, 40}, {48, 48}, {64, 64}}},
        {{{9, 6}, {16, 16}, {16, 24}, {16, 32}, {24, 40}, {24, 48}, {32, 64}}},
        {{{9, 6}, {12, 24}, {24, 24}, {18, 36}, {36, 36}, {36, 72}, {72, 72}}},
    }};

// Dots per double-byte character by font_size and direction; the same for every char_scale.
inline constexpr std::array<std::array<int, 2>, kFontSizes> wide_width_table{
    {{9, 9}, {24, 24}, {24, 24}, {32, 32}, {40, 40}, {48, 48}, {64, 64}}};

// Dots of a superscript or subscript pair in horizontal printing, by font class.
inline constexpr std::array<int, 3> script_pair_width{6, 16, 27};

// Font class of script_pair_width: sizes 0-1, 2-4, 5-6.
inline constexpr int script_pair_class(int font_size) {
    return font_size <= 1 ? 0 : (font_size <= 4 ? 1 : 2);
}

// Added to the widest line for an automatic length; the room a fixed length leaves beside its text.
inline constexpr int length_margin_dots = 48;

// The largest font size for the job's material and parameter; positions outside the boxes give 6.
int max_font_size(const model::JobSettings& settings);

// A leading minus negates the rest; every other byte adds (byte - '0') to value × 10, digit or
// not, in 16-bit arithmetic (so the letter a reads 49). Stops at the first zero byte.
std::uint16_t ParseSignedDecimal(std::string_view text);

// Writes serial_width and serial_count from serial_start and serial_end.
void ComputeSerialRange(model::SegmentNode& record);

// Width in dots of a line of `narrow` single-byte characters, `wide` double-byte characters and
// `pairs` script pairs. Negative counts (differences of stale counters) count as 0.
int LineWidth(const model::SegmentNode& record, const model::JobSettings& settings, int narrow,
              int wide, int pairs);

// Writes content_dots (and content_dots2 for a double-line segment), length_dots when the length
// is automatic, feed_dots, total_count and the serial range. An empty text changes nothing.
void MeasureSegment(model::SegmentNode& record, const model::JobSettings& settings);

// Measures, then answers whether the text is too wide for the segment's fixed length.
bool SegmentOverflows(model::SegmentNode& record, const model::JobSettings& settings);

// Grows a fitting text to the largest size up to the material's largest that still fits, shrinks an
// overflowing one to the largest smaller size that fits. Answers true, with the size put back, when
// even size 1 does not fit.
bool AutoFitFontSize(model::SegmentNode& record, const model::JobSettings& settings);

}  // namespace qvprt::layout
