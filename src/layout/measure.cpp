#include "layout/measure.h"

#include <algorithm>

#include "model/text_codes.h"
#include "text/bytes.h"

namespace qvprt::layout {
namespace {

unsigned char byte_at(const model::SegmentNode& r, int i) {
    return static_cast<unsigned char>(r.text[static_cast<std::size_t>(i)]);
}

// Records read from files may hold any byte; out-of-range indexes take the nearest table entry
// rather than reading past a table.
int font_index(const model::SegmentNode& r) {
    return std::min<int>(r.font_size, kFontSizes - 1);
}
int scale_index(const model::SegmentNode& r) {
    return std::min<int>(r.char_scale, kCharScales - 1);
}
int direction_index(const model::SegmentNode& r) {
    return model::is_vertical(r.direction) ? 1 : 0;
}

// Bytes of the text that the scans may look at: the text never holds more than the buffer.
int scan_length(const model::SegmentNode& r) {
    return std::min<int>(r.text_length, static_cast<int>(r.text.size()));
}

}  // namespace

int max_font_size(const model::JobSettings& settings) {
    const model::Material* m = model::material_at(settings.material_index);
    const model::MaterialParam* p =
        m != nullptr ? m->param_at(settings.material_param_index) : nullptr;
    return p != nullptr ? p->largest_font_size : model::kLargestFontSize;
}

std::uint16_t ParseSignedDecimal(std::string_view text) {
    const std::size_t end = text.find('\0');
    if (end != std::string_view::npos) {
        text = text.substr(0, end);
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    std::uint16_t value = 0;
    for (const char ch : text) {
        const int c = static_cast<unsigned char>(ch);
        value = static_cast<std::uint16_t>(value * 10 + (c - 48));
    }
    return negative ? static_cast<std::uint16_t>(-value) : value;
}

void ComputeSerialRange(model::SegmentNode& record) {
    const std::string_view start = text::field_text(record.serial_start);
    const std::string_view end = text::field_text(record.serial_end);
    record.serial_width = static_cast<std::uint8_t>(std::max(start.size(), end.size()));
    const std::uint16_t a = ParseSignedDecimal(start);
    const std::uint16_t b = ParseSignedDecimal(end);
    record.serial_count = static_cast<std::uint16_t>(a <= b ? b - a + 1 : a - b + 1);
}

int LineWidth(const model::SegmentNode& record, const model::JobSettings& settings, int narrow,
              int wide, int pairs) {
    // A count below zero comes from counters left by an earlier text; wrapping it would make a
    // short text look endless.
    narrow = std::max(narrow, 0);
    wide = std::max(wide, 0);
    pairs = std::max(pairs, 0);
    if (narrow + wide == 0) {
        return 0;
    }
    const int f = font_index(record);
    const int v = direction_index(record);
    const auto fi = static_cast<std::size_t>(f);
    const auto vi = static_cast<std::size_t>(v);
    const int wn = narrow_width_table[static_cast<std::size_t>(scale_index(record))][fi][vi];
    const int ww = wide_width_table[fi][vi];
    const int wp = script_pair_width[static_cast<std::size_t>(script_pair_class(f))];
    const int spacing = std::clamp(settings.spacing, 0, model::kMaxSpacing);
    int width = narrow * wn + wide * ww + (narrow + wide - 1) * spacing;
    if (v == 0) {
        width += pairs * wp;
    }
    return width;
}

void MeasureSegment(model::SegmentNode& record, const model::JobSettings& settings) {
    if (record.text[0] == 0 || record.text_length == 0) {
        return;
    }
    if (record.has_serial == 1) {
        ComputeSerialRange(record);
    }
    const int e = record.has_serial == 1 ? record.serial_width - 1 : 0;
    const int len = record.text_length;
    const int scripts = record.script_count;
    const int wide = record.wide_char_count;
    const bool horizontal = direction_index(record) == 0;
    const int mark_factor = horizontal ? 2 : 1;

    if (record.double_line == 0) {
        const int n = len + e - mark_factor * scripts - 2 * wide;
        record.content_dots =
            static_cast<std::uint16_t>(LineWidth(record, settings, n, wide, scripts));
    } else {
        const int scan = scan_length(record);
        // A double-line record always holds its break; without one, all of it is line 1.
        int j = 0;
        while (j < scan &&
               byte_at(record, j) != static_cast<unsigned char>(model::CODE_LINE_BREAK)) {
            ++j;
        }
        if (j == scan) {
            j = len;
        }
        int p1 = 0, p2 = 0, high1 = 0, k = len;
        for (int i = 0; i < scan; ++i) {
            const unsigned char b = byte_at(record, i);
            if (model::is_script_code(b)) {
                ++(i < j ? p1 : p2);
            }
            if (i < j && b > 0xA0) {
                ++high1;
            }
            if (k == len && model::is_serial_code(b)) {
                k = i;
            }
        }
        const int w1 = wide != 0 ? high1 / 2 : 0;
        // A stale wide count can be smaller than line 1 alone holds.
        const int w2 = std::max(wide - w1, 0);
        const int e1 = k < j ? e : 0;
        const int e2 = k < j ? 0 : e;
        const int n1 = j + e1 - mark_factor * p1 - 2 * w1;
        const int n2 = len - j - 1 + e2 - mark_factor * p2 - 2 * w2;
        record.content_dots = static_cast<std::uint16_t>(LineWidth(record, settings, n1, w1, p1));
        record.content_dots2 = static_cast<std::uint16_t>(LineWidth(record, settings, n2, w2, p2));
    }

    if (record.auto_length == 1) {
        int widest = record.content_dots;
        if (record.double_line != 0) {
            widest = std::max<int>(widest, record.content_dots2);
        }
        record.length_dots = static_cast<std::uint16_t>(length_margin_dots + widest);
    }
    record.feed_dots = record.length_dots;
    // Unsigned: a repeat and a range from a file can multiply past what an int holds.
    record.total_count = static_cast<std::uint16_t>(
        record.has_serial == 1 ? static_cast<unsigned>(record.repeat) * record.serial_count
                               : record.repeat);
}

bool SegmentOverflows(model::SegmentNode& record, const model::JobSettings& settings) {
    MeasureSegment(record, settings);
    if (record.auto_length != 0) {
        return false;
    }
    // Measurement leaves an empty text's widths from the text before it, which may be one a
    // commit refused; nothing to print always fits.
    if (record.text[0] == 0 || record.text_length == 0) {
        return false;
    }
    int widest = record.content_dots;
    if (record.double_line != 0) {
        widest = std::max<int>(widest, record.content_dots2);
    }
    return widest + length_margin_dots > record.feed_dots;
}

bool AutoFitFontSize(model::SegmentNode& record, const model::JobSettings& settings) {
    const int largest = max_font_size(settings);
    const std::uint8_t saved = record.font_size;
    if (SegmentOverflows(record, settings)) {
        for (;;) {
            if (record.font_size <= 1) {
                record.font_size = saved;
                return true;
            }
            --record.font_size;
            if (!SegmentOverflows(record, settings)) {
                return false;
            }
        }
    }
    while (record.font_size < largest) {
        ++record.font_size;
        if (SegmentOverflows(record, settings)) {
            if (record.font_size > 1) {
                --record.font_size;
            }
            return false;
        }
    }
    return false;
}

}  // namespace qvprt::layout
