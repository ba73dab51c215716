#include "layout/segment_text.h"

#include <algorithm>

#include "layout/symbol_table.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace qvprt::layout {
namespace {

// Longest prefix of `s` of at most `limit` bytes that does not end inside a two-byte character.
std::size_t whole_character_prefix(std::string_view s, std::size_t limit) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t next = i + text::gbk_char_length(s, i);
        if (next > limit) {
            break;
        }
        i = next;
    }
    return i;
}

// Moves the symbols into the printer's code range, walking by characters so that no byte pair
// across two characters is taken for a symbol.
void move_symbols_to_printer_range(char* bytes, std::size_t length) {
    const std::string_view s(bytes, length);
    for (std::size_t i = 0; i < length;) {
        const std::size_t step = text::gbk_char_length(s, i);
        if (step == 2 && symbol_index(static_cast<unsigned char>(bytes[i]),
                                      static_cast<unsigned char>(bytes[i + 1])) >= 0) {
            bytes[i] = static_cast<char>(model::SYMBOL_PRINTER_LEAD);
        }
        i += step;
    }
}

// What the one-walk punctuation replacement below relies on.
constexpr bool punctuation_fits_one_walk() {
    for (const PunctuationPair& p : punctuation_table) {
        const auto lead = static_cast<unsigned char>(p.replaced[0]);
        if (p.replaced.size() != 2 || (lead != 0xA1 && lead != 0xA3) || p.by.size() > 2) {
            return false;
        }
        for (const char c : p.by) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                return false;
            }
        }
    }
    return true;
}
static_assert(punctuation_fits_one_walk());

}  // namespace

MarkCount count_marks(std::string_view cell, std::string_view mark) {
    MarkCount m;
    m.count = text::gbk_count(cell, mark, &m.last);
    return m;
}

// One walk by characters does what the table's rows do one after the other: every replaced
// character is a two-byte one and every replacement is ASCII, so no row can match what another
// row wrote, and the text's characters stay where they were.
void replace_punctuation(std::string& s) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t step = text::gbk_char_length(s, i);
        const PunctuationPair* hit = nullptr;
        if (step == 2) {
            const auto lead = static_cast<unsigned char>(s[i]);
            if (lead == 0xA1 || lead == 0xA3) {
                for (const PunctuationPair& p : punctuation_table) {
                    if (p.replaced[0] == s[i] && p.replaced[1] == s[i + 1]) {
                        hit = &p;
                        break;
                    }
                }
            }
        }
        if (hit != nullptr) {
            // Never longer than what it replaces, so writing in place stays behind the reading.
            for (const char c : hit->by) {
                s[out++] = c;
            }
        } else {
            s[out++] = s[i];
            if (step == 2) {
                s[out++] = s[i + 1];
            }
        }
        i += step;
    }
    s.resize(out);
}

bool compile_segment_text(model::SegmentNode& record, std::string_view first_line,
                          std::string_view second_line, bool edit_form, bool* cut) {
    std::string s(first_line);
    record.double_line = 0;
    if (!second_line.empty()) {
        s += model::CODE_LINE_BREAK;
        s += second_line;
        record.double_line = 1;
    }

    const std::string_view superscript_code(&model::CODE_SUPERSCRIPT, 1);
    const std::string_view subscript_code(&model::CODE_SUBSCRIPT, 1);
    if (!edit_form) {
        text::gbk_replace_all(s, model::MARK_SUPERSCRIPT, superscript_code);
        text::gbk_replace_all(s, model::MARK_SUBSCRIPT, subscript_code);
    }

    if (text::gbk_find(s, model::MARK_SERIAL) == std::string_view::npos) {
        record.has_serial = 0;
        record.serial_natural = 0;
        record.serial_padded = 0;
        record.serial_upper = 0;
        record.serial_lower = 0;
    } else if (record.has_serial != 0) {
        const std::pair<std::uint8_t, char> types[] = {
            {record.serial_natural, model::CODE_SERIAL_NATURAL},
            {record.serial_padded, model::CODE_SERIAL_PADDED},
            {record.serial_lower, model::CODE_SERIAL_LOWER},
            {record.serial_upper, model::CODE_SERIAL_UPPER},
        };
        for (const auto& [flag, code] : types) {
            if (flag != 0) {
                text::gbk_replace_first(s, model::MARK_SERIAL, std::string_view(&code, 1));
            }
        }
    }

    replace_punctuation(s);

    const auto limit = static_cast<std::size_t>(model::kMaxTextBytes);
    const bool overlong = s.size() >= limit;
    // Cutting inside a character would hand the printer half of one.
    const std::size_t kept = overlong ? whole_character_prefix(s, limit) : s.size();
    text::copy_field(record.text, std::string_view(s).substr(0, kept));
    record.text_length = static_cast<std::uint8_t>(kept);
    if (cut != nullptr) {
        *cut = kept < s.size();
    }

    // Counted over what is kept: a mark that was cut off has no place in the record.
    const std::string_view kept_text(s.data(), kept);
    if (edit_form) {
        record.superscript_count =
            static_cast<std::uint8_t>(count_marks(kept_text, model::MARK_SUPERSCRIPT).count);
        record.subscript_count =
            static_cast<std::uint8_t>(count_marks(kept_text, model::MARK_SUBSCRIPT).count);
    } else {
        record.superscript_count = static_cast<std::uint8_t>(
            std::count(kept_text.begin(), kept_text.end(), model::CODE_SUPERSCRIPT));
        record.subscript_count = static_cast<std::uint8_t>(
            std::count(kept_text.begin(), kept_text.end(), model::CODE_SUBSCRIPT));
    }
    record.script_count =
        static_cast<std::uint8_t>(record.superscript_count + record.subscript_count);

    if (!edit_form) {
        move_symbols_to_printer_range(record.text.data(), kept);
    }

    int high = 0;
    for (std::size_t i = 0; i < kept; ++i) {
        if (static_cast<unsigned char>(record.text[i]) > 0xA0) {
            ++high;
        }
    }
    record.wide_char_count = static_cast<std::uint8_t>(high / 2);

    if (record.double_line != 0 &&
        std::find(record.text.begin(), record.text.begin() + static_cast<std::ptrdiff_t>(kept),
                  model::CODE_LINE_BREAK) ==
            record.text.begin() + static_cast<std::ptrdiff_t>(kept)) {
        record.double_line = 0;
    }
    return overlong;
}

}  // namespace qvprt::layout
