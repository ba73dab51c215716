#pragma once
// Where every copy of a job goes in the preview strip. The job is laid out once per preview, in
// 64-bit pixels, as runs of copies that share their box width; painting then asks only for the
// copies that meet the exposed area. A job of 1000 rows, repeat 100 and a serial range of 1000
// values is 10^8 copies and several billion pixels wide: neither a picture of it nor one entry per
// copy would fit in memory.
//
// The layout copies what it needs from the records, so the records may change or be freed after
// the preview without the strip reading them again.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::layout {

// The font of one segment: a pixel size and the face, "宋体" or its vertical form "@宋体".
struct PreviewFont {
    int pixel_size = 9;
    bool vertical = false;
    bool operator==(const PreviewFont&) const = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// Text measurement of the drawing surface; the Qt strip measures with the fonts it paints with.
class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;
    virtual TextExtent Measure(std::string_view gbk, const PreviewFont& font) = 0;
};

inline constexpr int kPreviewFirstCursor = 10;  // cursor x at the start of a paint
inline constexpr int kPreviewBoxGap = 4;    // from the cursor to a box, and from a box to its tick
inline constexpr int kPreviewTickHalf = 8;  // ticks reach 8 px above and below the centre line
inline constexpr int kPreviewEndMargin = 10;    // content width beyond the last tick
inline constexpr int kPreviewFirstFontPx = 9;   // size before the first record with a known size
inline constexpr int kPreviewMarkerInset = 20;  // m_markX lies this far left of the marker

enum class SerialKind : std::uint8_t { None, Natural, Padded, Letter };

// The font pixel size of a record's font_size at `dpi`, or 0 for a size that keeps the previous
// one.
int preview_font_pixels(int font_size, int dpi);
// Band height in pixels for a printable height in millimetres.
int preview_band_height(int dpi, double millimetres);
// Text a serial value takes in place of its code.
std::string serial_value_text(SerialKind kind, int value);

// One drawn segment as it was when the job was laid out.
struct PreviewSegment {
    std::string text;      // GBK, white space trimmed at both ends
    int placeholder = -1;  // position of the serial code in `text`, -1 for none
    SerialKind kind = SerialKind::None;
    PreviewFont font;
    bool double_line = false;
    char decoration = model::kDecorationNone;
    int fixed_width = 0;         // pixels; 0: the box is as wide as the text
    std::int64_t left = 0;       // cursor x where the segment begins
    std::int64_t repeat = 0;     // repetitions of the whole serial sequence
    std::int64_t rep_width = 0;  // cursor advance of one repetition
    std::size_t first_run = 0;   // the runs of one repetition, in order
    std::size_t run_count = 0;

    std::int64_t right() const { return left + repeat * rep_width; }
};

// Consecutive copies of one repetition whose boxes share a width: serial values of one digit count
// (or one letter), or the values alternating around the end value once the range is exhausted.
struct CopyRun {
    std::int64_t offset = 0;  // from the repetition's start to the cursor before the first copy
    std::int64_t count = 0;
    int box_width[2] = {0, 0};  // of even and odd copies in the run (equal unless alternating)
    int line_height = 0;        // th: the box is th high, 2 × th for a double line
    int value = 0;              // serial value of the first copy
    int step = 0;               // +1, -1, or 0; alternating runs use `value` and `value2`
    int value2 = 0;
    bool alternating = false;

    int pitch(std::int64_t k) const { return box_width[k % 2] + 2 * kPreviewBoxGap; }
    std::int64_t cursor(std::int64_t k) const {
        return offset + (k / 2) * (pitch(0) + pitch(1)) + (k % 2) * pitch(0);
    }
    int value_at(std::int64_t k) const {
        if (alternating) {
            return k % 2 == 0 ? value : value2;
        }
        return static_cast<int>(value + k * step);
    }
};

// One copy that a paint draws.
struct PreviewCopy {
    const PreviewSegment* segment = nullptr;
    std::int64_t box_left = 0;
    int box_width = 0;
    int line_height = 0;
    int value = 0;
    std::int64_t tick_x() const { return box_left + box_width + kPreviewBoxGap; }
};

class PreviewLayout {
  public:
    // Lays out the list from `head` as the strip draws it at `dpi` (null: no segments).
    void Build(const model::SegmentNode* head, const model::JobSettings& settings, int dpi,
               TextMeasurer& measurer);

    // The width the picture needs (m_contentWidth): 20 for an empty job.
    std::int64_t content_width() const { return content_width_; }
    // Left corner of every current-row marker, in list order.
    const std::vector<std::int64_t>& markers() const { return markers_; }
    // m_markX: 20 left of the last marker; nothing when the job has no current row.
    bool has_mark() const { return !markers_.empty(); }
    std::int64_t mark_x() const {
        return markers_.empty() ? 0 : markers_.back() - kPreviewMarkerInset;
    }
    bool centred() const { return centred_; }
    std::int64_t copy_count() const { return copy_count_; }
    const std::vector<PreviewSegment>& segments() const { return segments_; }
    const std::vector<CopyRun>& runs() const { return runs_; }

    // Every copy whose room, from the cursor before it to its tick, meets [x0, x1), left to right.
    template <typename Visit>
    void ForEachCopy(std::int64_t x0, std::int64_t x1, Visit&& visit) const;

    // The text one copy prints, and its two lines when it is a double line.
    static std::string CopyText(const PreviewSegment& s, int value);
    static std::pair<std::string_view, std::string_view> SplitLines(std::string_view text);

  private:
    void AddSegment(const model::SegmentNode& n, PreviewFont font, int fixed_width,
                    TextMeasurer& measurer);
    void AddRun(PreviewSegment& s, CopyRun run, TextMeasurer& measurer);
    TextExtent MeasureCopy(const PreviewSegment& s, int value, TextMeasurer& measurer) const;

    std::vector<PreviewSegment> segments_;
    std::vector<CopyRun> runs_;
    std::vector<std::int64_t> markers_;
    std::int64_t cursor_ = kPreviewFirstCursor;
    std::int64_t content_width_ = kPreviewFirstCursor + kPreviewEndMargin;
    std::int64_t copy_count_ = 0;
    bool centred_ = true;
};

template <typename Visit>
void PreviewLayout::ForEachCopy(std::int64_t x0, std::int64_t x1, Visit&& visit) const {
    // A copy reaches from its cursor to its tick at cursor + pitch, inclusive: it meets [x0, x1)
    // when cursor < x1 and cursor + pitch > x0 - 1.
    const std::int64_t xs = x0 - 1;
    std::size_t si = 0;
    {
        std::size_t lo = 0, hi = segments_.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (segments_[mid].right() <= xs) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        si = lo;
    }
    for (; si < segments_.size() && segments_[si].left < x1; ++si) {
        const PreviewSegment& s = segments_[si];
        if (s.rep_width <= 0 || s.repeat <= 0) {
            continue;
        }
        std::int64_t rep = xs > s.left ? (xs - s.left) / s.rep_width : 0;
        if (rep >= s.repeat) {
            continue;
        }
        const CopyRun* runs = runs_.data() + s.first_run;
        // The run and copy holding xs in the first repetition visited; later ones start at 0.
        std::size_t ri = 0;
        std::int64_t k = 0;
        {
            const std::int64_t in_rep = xs - (s.left + rep * s.rep_width);
            if (in_rep > 0) {
                while (ri + 1 < s.run_count && runs[ri + 1].offset <= in_rep) {
                    ++ri;
                }
                const CopyRun& r = runs[ri];
                const std::int64_t d = in_rep - r.offset;
                const std::int64_t pair = r.pitch(0) + r.pitch(1);
                k = 2 * (d / pair) + ((d % pair) >= r.pitch(0) ? 1 : 0);
                if (k >= r.count) {
                    k = r.count;  // xs is past this run's last tick
                }
            }
        }
        for (; rep < s.repeat; ++rep, ri = 0, k = 0) {
            const std::int64_t rep_left = s.left + rep * s.rep_width;
            if (rep_left >= x1) {
                break;
            }
            for (; ri < s.run_count; ++ri, k = 0) {
                const CopyRun& r = runs[ri];
                for (; k < r.count; ++k) {
                    const std::int64_t cursor = rep_left + r.cursor(k);
                    if (cursor >= x1) {
                        return;
                    }
                    PreviewCopy c;
                    c.segment = &s;
                    c.box_left = cursor + kPreviewBoxGap;
                    c.box_width = r.box_width[k % 2];
                    c.line_height = r.line_height;
                    c.value = r.value_at(k);
                    visit(c);
                }
            }
        }
    }
}

}  // namespace qvprt::layout
