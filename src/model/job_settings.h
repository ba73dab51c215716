#pragma once
// The settings that hold for a whole job, and the defaults new segments take. Every value is kept
// in the fixed-width form it has in the printer's byte stream, so the encoders copy bytes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/coded_values.h"

namespace qvprt::model {

struct SegmentNode;

inline constexpr int dots_per_mm = 12;

inline constexpr int kMinCopies = 1;
inline constexpr int kMaxCopies = 20;
inline constexpr int kMaxSpacing = 20;
inline constexpr int kMinDensity = 1;
inline constexpr int kMaxDensity = 15;

struct JobSettings {
    std::array<char, 4> material_code{'T', 'U', 'B', 0};
    std::int32_t material_index = 0;
    std::array<char, 3> material_param{'4', 0, 0};
    std::int32_t material_param_index = 1;
    char cut_mode = kCutHalf;
    std::int32_t spacing = 0;
    std::uint8_t arrangement = 0;
    std::uint8_t density = 9;
    std::int32_t copies = 1;

    std::array<char, 4> default_length_text{'2', '0', 0, 0};
    std::int16_t default_length_mm = 20;
    std::uint8_t default_auto_length = 0;
    std::uint8_t default_auto_font = 1;
    std::uint8_t default_font_size = 0;
    std::int16_t default_repeat = 1;
    char default_decoration = kDecorationNone;
    std::array<char, 2> default_direction = kHorizontal;
    bool operator==(const JobSettings&) const = default;
};

// What the material box's change means for the parameter box and the preview.
struct MaterialChoice {
    std::vector<std::string> param_entries;  // the parameter box's new entries
    int param_selection = 1;
    double preview_height_mm = 6.5;
};

// Setting operations, one per setting box; each takes the box's new position. The two material
// operations copy the material into every record from `head` to the tail.
MaterialChoice select_material(JobSettings& s, SegmentNode* head, int position);
void select_material_param(JobSettings& s, SegmentNode* head, int position);
void select_cut_mode(JobSettings& s, int position);
void select_spacing(JobSettings& s, int position);
void select_arrangement(JobSettings& s, int position);
void select_density(JobSettings& s, int position);

// The parameter box's entries for a material position (a position outside the box has the tube's).
std::vector<std::string> material_param_entries(int material_position);
// Height of the printed strip in millimetres for a material position with its first parameter.
double material_strip_height_mm(int material_position);

inline bool copies_in_range(long long value) {
    return value >= kMinCopies && value <= kMaxCopies;
}

// Copies material_code and material_param into every record from `head` to the tail.
void copy_material_to_segments(const JobSettings& s, SegmentNode* head);

}  // namespace qvprt::model
