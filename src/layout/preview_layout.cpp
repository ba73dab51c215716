#include "layout/preview_layout.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "layout/measure.h"
#include "model/text_codes.h"
#include "text/bytes.h"

namespace qvprt::layout {
namespace {

// A fixed length is shown at the screen's usual 96 dpi whatever the surface's own.
constexpr int kFixedWidthDpi = 96;
constexpr int kPrinterDpi = 300;

constexpr std::array<int, 6> kFontDots{16, 24, 32, 40, 48, 64};

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_space(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && is_space(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

int digits(int v) {
    int n = 1;
    for (v = std::abs(v); v >= 10; v /= 10) {
        ++n;
    }
    return n;
}

// Values with the same class take the same room: the same number of digits and sign, or the same
// letter.
int width_class(SerialKind kind, int v) {
    switch (kind) {
        case SerialKind::Natural:
            return digits(v) + (v < 0 ? 1 : 0);
        case SerialKind::Padded:
            return std::max(3, digits(v) + (v < 0 ? 1 : 0));
        case SerialKind::Letter:
        case SerialKind::None:
            break;
    }
    return v & 0xFF;
}

}  // namespace

int preview_font_pixels(int font_size, int dpi) {
    if (font_size < 1 || font_size > static_cast<int>(kFontDots.size())) {
        return 0;
    }
    return kFontDots[static_cast<std::size_t>(font_size - 1)] * dpi / kPrinterDpi;
}

int preview_band_height(int dpi, double millimetres) {
    return static_cast<int>(dpi * millimetres / 25.4);
}

std::string serial_value_text(SerialKind kind, int value) {
    switch (kind) {
        case SerialKind::Natural:
            return std::to_string(value);
        case SerialKind::Padded: {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%03d", value);
            return buf;
        }
        case SerialKind::Letter:
            return std::string(1, static_cast<char>(value & 0xFF));
        case SerialKind::None:
            break;
    }
    return {};
}

std::string PreviewLayout::CopyText(const PreviewSegment& s, int value) {
    if (s.placeholder < 0) {
        return s.text;
    }
    std::string t = s.text;
    t.replace(static_cast<std::size_t>(s.placeholder), 1, serial_value_text(s.kind, value));
    return t;
}

std::pair<std::string_view, std::string_view> PreviewLayout::SplitLines(std::string_view text) {
    const std::size_t b = text.find(model::CODE_LINE_BREAK);
    if (b == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, b), text.substr(b + 1)};
}

TextExtent PreviewLayout::MeasureCopy(const PreviewSegment& s, int value,
                                      TextMeasurer& measurer) const {
    const std::string t = CopyText(s, value);
    if (!s.double_line) {
        return measurer.Measure(t, s.font);
    }
    const auto [l1, l2] = SplitLines(t);
    const TextExtent a = measurer.Measure(l1, s.font);
    const TextExtent b = measurer.Measure(l2, s.font);
    return {std::max(a.width, b.width), std::max(a.height, b.height)};
}

void PreviewLayout::AddRun(PreviewSegment& s, CopyRun run, TextMeasurer& measurer) {
    if (run.count <= 0) {
        return;
    }
    const TextExtent a = MeasureCopy(s, run.value, measurer);
    TextExtent b = a;
    if (run.alternating && run.count > 1) {
        b = MeasureCopy(s, run.value2, measurer);
    }
    run.box_width[0] = s.fixed_width != 0 ? s.fixed_width : a.width;
    run.box_width[1] = s.fixed_width != 0 ? s.fixed_width : b.width;
    run.line_height = std::max(a.height, b.height);
    run.offset = s.rep_width;
    s.rep_width = run.cursor(run.count);
    runs_.push_back(run);
    ++s.run_count;
}

void PreviewLayout::AddSegment(const model::SegmentNode& n, PreviewFont font, int fixed_width,
                               TextMeasurer& measurer) {
    PreviewSegment s;
    s.text = std::string(trim(text::field_text(n.text)));
    s.font = font;
    s.double_line = n.double_line != 0;
    s.decoration = n.decoration;
    s.fixed_width = fixed_width;
    s.left = cursor_;
    s.repeat = n.repeat;
    s.first_run = runs_.size();

    std::int64_t count = 1;
    if (n.has_serial != 0) {
        count = n.serial_count;
        s.kind = n.serial_natural != 0  ? SerialKind::Natural
                 : n.serial_padded != 0 ? SerialKind::Padded
                                        : SerialKind::Letter;
        for (std::size_t i = 0; i < s.text.size(); ++i) {
            const auto b = static_cast<unsigned char>(s.text[i]);
            if (model::is_serial_code(b)) {
                s.placeholder = static_cast<int>(i);
                break;
            }
        }
    }

    if (s.placeholder < 0) {
        // Every copy is the same text.
        CopyRun r;
        r.count = count;
        AddRun(s, r, measurer);
    } else {
        int v = 0, e = 0;
        const std::string_view start = text::field_text(n.serial_start);
        const std::string_view end = text::field_text(n.serial_end);
        if (s.kind == SerialKind::Letter) {
            v = start.empty() ? 0 : static_cast<unsigned char>(start.front());
            e = end.empty() ? 0 : static_cast<unsigned char>(end.front());
        } else {
            v = static_cast<std::int16_t>(ParseSignedDecimal(start));
            e = static_cast<std::int16_t>(ParseSignedDecimal(end));
        }
        // The values step from v toward e; a count beyond the range (only a record from a file can
        // hold one) goes on alternating between e - 1 and e, as the stepping rule makes it.
        const int step = v < e ? 1 : -1;
        const std::int64_t span = std::abs(static_cast<std::int64_t>(e) - v) + 1;
        const std::int64_t approach = std::min(count, span);
        CopyRun r;
        r.value = v;
        r.step = step;
        int cls = width_class(s.kind, v);
        for (std::int64_t k = 0; k < approach; ++k) {
            const int value = static_cast<int>(v + k * step);
            const int c = width_class(s.kind, value);
            if (c != cls) {
                AddRun(s, r, measurer);
                r = CopyRun{};
                r.value = value;
                r.step = step;
                cls = c;
            }
            ++r.count;
        }
        AddRun(s, r, measurer);
        if (count > approach) {
            CopyRun tail;
            tail.alternating = true;
            tail.value = e - 1;
            tail.value2 = e;
            tail.count = count - approach;
            AddRun(s, tail, measurer);
        }
    }
    cursor_ += s.repeat * s.rep_width;
    copy_count_ += s.repeat * count;
    segments_.push_back(std::move(s));
}

void PreviewLayout::Build(const model::SegmentNode* head, const model::JobSettings& settings,
                          int dpi, TextMeasurer& measurer) {
    segments_.clear();
    runs_.clear();
    markers_.clear();
    cursor_ = kPreviewFirstCursor;
    copy_count_ = 0;
    centred_ = settings.arrangement != 1;
    int pixels = kPreviewFirstFontPx;
    for (const model::SegmentNode* n = head; n != nullptr; n = n->next) {
        if (n->is_current != 0) {
            markers_.push_back(cursor_);
        }
        if (n->enabled == 0 || n->text_length == 0) {
            continue;
        }
        if (const int p = preview_font_pixels(n->font_size, dpi); p != 0) {
            pixels = p;
        }
        const PreviewFont font{pixels, model::is_vertical(n->direction)};
        const int fixed = n->auto_length == 1 ? 0 : n->feed_dots * kFixedWidthDpi / kPrinterDpi;
        AddSegment(*n, font, fixed, measurer);
    }
    content_width_ = cursor_ + kPreviewEndMargin;
}

}  // namespace qvprt::layout
