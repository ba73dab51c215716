#pragma once
// Every coded value a setting box chooses, each in one table: the code the job or the record keeps,
// the box's entry, the grid cell's text and qvprt-cli's word. A table's order is its box's order,
// so a box position is an index. The setting operations, the file readers' checks, the row cells,
// the window's boxes and qvprt-cli all look values up here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace qvprt::model {

template <typename Code>
struct CodedValue {
    Code code;
    std::string_view box_entry;  // UTF-8
    std::string_view cli_word;
    std::string_view cell_text = {};  // UTF-8; empty: the box entry
    constexpr std::string_view cell() const { return cell_text.empty() ? box_entry : cell_text; }
};

// Codes compare whole, but a direction is named by its first byte; its second follows from it.
constexpr bool same_code(char a, char b) {
    return a == b;
}
constexpr bool same_code(std::uint8_t a, std::uint8_t b) {
    return a == b;
}
constexpr bool same_code(const std::array<char, 2>& a, const std::array<char, 2>& b) {
    return a[0] == b[0];
}

// The position of the value whose qvprt-cli word is `word`, among values that have one.
template <typename Values>
std::optional<int> position_of_word(const Values& values, std::string_view word) {
    int i = 0;
    for (const auto& v : values) {
        if (v.cli_word == word) {
            return i;
        }
        ++i;
    }
    return std::nullopt;
}

// "a, b or c": the words, for a usage message.
template <typename Values>
std::string word_list(const Values& values) {
    std::string s;
    const std::size_t n = std::size(values);
    std::size_t i = 0;
    for (const auto& v : values) {
        if (i > 0) {
            s += i + 1 == n ? " or " : ", ";
        }
        s += v.cli_word;
        ++i;
    }
    return s;
}

template <typename Code, std::size_t N>
struct CodedTable {
    std::array<CodedValue<Code>, N> values;
    int fallback;  // the position whose code a position outside the box stands for

    static constexpr int size() { return static_cast<int>(N); }
    constexpr bool has_position(int position) const { return position >= 0 && position < size(); }
    // Position to value: a position outside the box takes the fallback's.
    constexpr const CodedValue<Code>& at(int position) const {
        return values[static_cast<std::size_t>(has_position(position) ? position : fallback)];
    }
    constexpr Code code_at(int position) const { return at(position).code; }
    // Code to position: -1 for a code no entry has.
    constexpr int position_of(const Code& code) const {
        for (int i = 0; i < size(); ++i) {
            if (same_code(values[static_cast<std::size_t>(i)].code, code)) {
                return i;
            }
        }
        return -1;
    }
    constexpr bool holds(const Code& code) const { return position_of(code) >= 0; }
    std::optional<int> position_of_word(std::string_view word) const {
        return model::position_of_word(values, word);
    }
    std::string word_list() const { return model::word_list(values); }
};

// Cut mode, the job header's byte.
inline constexpr char kCutNone = 'N';
inline constexpr char kCutHalf = 'C';
inline constexpr char kCutLine = 'L';
inline constexpr CodedTable<char, 3> kCutModes{{{
                                                   {kCutNone, "全无", "none"},
                                                   {kCutHalf, "半切", "half"},
                                                   {kCutLine, "分割线", "line"},
                                               }},
                                               1};

// Arrangement of the text on the segment, the job header's byte.
inline constexpr CodedTable<std::uint8_t, 2> kArrangements{{{
                                                               {0, "居中", "center"},
                                                               {1, "左齐", "left"},
                                                           }},
                                                           0};

// Decoration of a segment.
inline constexpr char kDecorationNone = 'N';
inline constexpr char kDecorationBorder = 'F';
inline constexpr char kDecorationUnderline = 'L';
inline constexpr CodedTable<char, 3> kDecorations{
    {{
        {kDecorationNone, "无修饰", "none"},
        {kDecorationBorder, "边  框", "border", "边框"},
        {kDecorationUnderline, "下划线", "underline"},
    }},
    0};

// Print direction of a segment: two bytes, the first '0' for across the material.
inline constexpr std::array<char, 2> kHorizontal{'0', '4'};
inline constexpr std::array<char, 2> kVertical{'1', '3'};
inline constexpr CodedTable<std::array<char, 2>, 2> kDirections{{{
                                                                    {kHorizontal, "横向打印", "h"},
                                                                    {kVertical, "竖向打印", "v"},
                                                                }},
                                                                1};
inline constexpr bool is_vertical(const std::array<char, 2>& direction) {
    return direction[0] != kHorizontal[0];
}

// Character scaling of a segment. The external font library's characters take a scale of their
// own, which the box does not offer.
inline constexpr CodedTable<std::uint8_t, 2> kScales{{{
                                                         {0, "100%", "100"},
                                                         {1, "50%", "50"},
                                                     }},
                                                     1};
inline constexpr std::uint8_t kExternalFontScale = 2;
inline constexpr std::string_view kExternalFontScaleCell = "out";
inline constexpr int kCharScales = kScales.size() + 1;

// Font size of a segment; position 0 asks for the size to be chosen automatically. A cell shows
// the number kept, 0 for an automatic size.
inline constexpr CodedTable<std::uint8_t, 7> kFontSizes{{{
                                                            {0, "自动字号", "auto"},
                                                            {1, "1", "1"},
                                                            {2, "2", "2"},
                                                            {3, "3", "3"},
                                                            {4, "4", "4"},
                                                            {5, "5", "5"},
                                                            {6, "6", "6"},
                                                        }},
                                                        0};
inline constexpr int kLargestFontSize = kFontSizes.size() - 1;

// A material's parameter: the box's entry, the code the records keep, the printable height the
// preview shows and the largest font size it takes.
struct MaterialParam {
    std::string_view box_entry;
    std::string_view code;
    double preview_mm;
    int largest_font_size;
};

struct Material {
    std::string_view code;  // the records' material field
    std::string_view box_entry;
    std::string_view cli_word;
    const MaterialParam* params;
    int param_count;
    // A parameter outside the box.
    constexpr const MaterialParam* param_at(int position) const {
        return position >= 0 && position < param_count ? &params[position] : nullptr;
    }
    // The parameter whose code begins with `c`; -1 for none.
    constexpr int param_position(char c) const {
        for (int i = 0; i < param_count; ++i) {
            if (params[i].code[0] == c) {
                return i;
            }
        }
        return -1;
    }
};

inline constexpr std::array<MaterialParam, 4> kTubeParams{{
    {"3.0", "3", 5.0, 5},
    {"4.0", "4", 6.5, 6},
    {"5.0", "5", 8.0, 6},
    {"6.0", "6", 10.0, 6},
}};
inline constexpr std::array<MaterialParam, 3> kLabelParams{{
    {"6 mm", "6", 6.0, 6},
    {"9 mm", "9", 9.0, 6},
    {"12mm", "12", 12.0, 6},
}};
inline constexpr std::array<MaterialParam, 4> kShrinkTubeParams{{
    {"3.0", "3", 5.0, 6},
    {"4.0", "4", 6.5, 6},
    {"5.0", "5", 8.0, 6},
    {"6.0", "6", 10.0, 6},
}};

inline constexpr int kTubePosition = 0;
inline constexpr int kLabelPosition = 1;
inline constexpr std::array<Material, 3> kMaterials{{
    {"TUB", "套管", "tub", kTubeParams.data(), static_cast<int>(kTubeParams.size())},
    {"LAB", "标签", "lab", kLabelParams.data(), static_cast<int>(kLabelParams.size())},
    {"STU", "热缩管", "stu", kShrinkTubeParams.data(), static_cast<int>(kShrinkTubeParams.size())},
}};
// The parameter a newly chosen material starts with.
inline constexpr int kDefaultParamPosition = 1;

constexpr bool has_material_position(int position) {
    return position >= 0 && position < static_cast<int>(kMaterials.size());
}
// Position to material; nullptr outside the box.
constexpr const Material* material_at(int position) {
    return has_material_position(position) ? &kMaterials[static_cast<std::size_t>(position)]
                                           : nullptr;
}
// The material whose code begins with `c`, as a record or the job names it; -1 for none.
constexpr int material_position(char c) {
    for (int i = 0; i < static_cast<int>(kMaterials.size()); ++i) {
        if (kMaterials[static_cast<std::size_t>(i)].code[0] == c) {
            return i;
        }
    }
    return -1;
}
// Where a position or a code names no material, its parameters are the tube's.
constexpr const Material& material_or_tube(int position) {
    const Material* m = material_at(position);
    return m != nullptr ? *m : kMaterials[kTubePosition];
}

}  // namespace qvprt::model
