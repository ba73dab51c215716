#pragma once
// The electrical symbols: two-byte codes in the GBK user-defined area, in the order the picker's
// picture shows them (entry i in row i / 16, column i mod 16). Compilation and the picker both take
// them from here.

#include <array>
#include <string_view>

#include "model/text_codes.h"

namespace qvprt::layout {

inline constexpr int SYMBOL_COUNT = model::SYMBOL_LAST_TRAIL - model::SYMBOL_FIRST_TRAIL + 1;
static_assert(SYMBOL_COUNT == 77);

namespace detail {
constexpr std::array<char, 2 * SYMBOL_COUNT> symbol_bytes() {
    std::array<char, 2 * SYMBOL_COUNT> b{};
    for (int i = 0; i < SYMBOL_COUNT; ++i) {
        b[2 * i] = static_cast<char>(model::SYMBOL_EDIT_LEAD);
        b[2 * i + 1] = static_cast<char>(model::SYMBOL_FIRST_TRAIL + i);
    }
    return b;
}
inline constexpr std::array<char, 2 * SYMBOL_COUNT> kSymbolBytes = symbol_bytes();
constexpr std::array<std::string_view, SYMBOL_COUNT> symbol_table() {
    std::array<std::string_view, SYMBOL_COUNT> t{};
    for (int i = 0; i < SYMBOL_COUNT; ++i) {
        t[i] = std::string_view(kSymbolBytes.data() + 2 * i, 2);
    }
    return t;
}
}  // namespace detail

// Entry i is AA, A1 + i: the edit form, as the grid and the project file hold it. The printer form
// has A1 as its first byte.
inline constexpr std::array<std::string_view, SYMBOL_COUNT> kSymbolTable = detail::symbol_table();

// The entry a character's two bytes are, in the edit form, or -1.
constexpr int symbol_index(unsigned char lead, unsigned char trail) {
    if (lead != model::SYMBOL_EDIT_LEAD || trail < model::SYMBOL_FIRST_TRAIL ||
        trail > model::SYMBOL_LAST_TRAIL) {
        return -1;
    }
    return trail - model::SYMBOL_FIRST_TRAIL;
}

// What each symbol is, for a user who cannot read a small glyph (UTF-8).
inline constexpr std::array<std::string_view, SYMBOL_COUNT> kSymbolNames{{
    "接地",      "八角接地",  "八角A",     "八角B",     "八角C",     "八角D",     "八角E",
    "八角F",     "八角G",     "八角H",     "八角I",     "八角J",     "八角K",     "八角L",
    "八角M",     "八角N",     "八角O",     "八角P",     "八角Q",     "八角R",     "八角S",
    "八角T",     "八角U",     "八角V",     "八角W",     "八角X",     "八角Y",     "八角Z",
    "毫米",      "厘米",      "千米",      "平方毫米",  "平方厘米",  "平方米",    "平方千米",
    "立方毫米",  "立方厘米",  "立方米",    "毫升(cc)",  "毫升",      "分升",      "升",
    "毫克",      "千克",      "埃",        "摄氏度",    "开尔文",    "毫安",      "千欧",
    "千瓦",      "赫兹",      "百分号",    "千分号",    "卡路里",    "人民币",    "美元",
    "直径",      "英镑",      "电话",      "传真",      "KK",        "编号",      "上午",
    "下午",      "指示灯",    "罗马数字Ⅰ", "罗马数字Ⅱ", "罗马数字Ⅲ", "罗马数字Ⅳ", "罗马数字Ⅴ",
    "罗马数字Ⅵ", "罗马数字Ⅶ", "罗马数字Ⅷ", "罗马数字Ⅸ", "罗马数字Ⅹ", "希腊字母Φ", "欧姆",
}};

}  // namespace qvprt::layout
