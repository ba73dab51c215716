#pragma once
// The preview strip's horizontal scrolling, in 64-bit pixels, and the rule by which its timer
// brings the current segment into view. The scroll bar of the toolkit holds an int: a picture
// wider than that is shown in steps of `unit()` pixels.

#include <cstdint>

namespace qvprt::editor {

enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, ToLeft, ToRight, Thumb };

class PreviewScroll {
  public:
    // Range 0 .. width, page one tenth of the window's width, position clamped into the range.
    void Set(std::int64_t width, std::int64_t window_width, std::int64_t position);
    // Answers whether the position changed. Line and page steps that would leave the range are
    // refused; the ends and the thumb are always taken (the thumb is clamped into the range).
    bool Apply(ScrollRequest request, std::int64_t thumb = 0);

    std::int64_t position() const { return position_; }
    std::int64_t maximum() const { return maximum_; }
    std::int64_t page() const { return page_; }
    // Pixels per step of the toolkit's bar: 1 unless the picture is wider than 2^31 - 1 pixels.
    std::int64_t unit() const { return unit_; }
    // Rounded up, so that the bar's last step is the picture's end.
    int BarValue(std::int64_t pixels) const {
        return static_cast<int>((pixels + unit_ - 1) / unit_);
    }
    std::int64_t FromBar(int value) const;

  private:
    std::int64_t maximum_ = 0;
    std::int64_t page_ = 0;
    std::int64_t position_ = 0;
    std::int64_t unit_ = 1;
};

// The adjustment timer's decision: a painted picture whose width or marker moved since the last
// adjustment, and that is wider than the window, is scrolled to the marker.
class PreviewAdjuster {
  public:
    bool Adjust(std::int64_t content_width, std::int64_t mark_x, std::int64_t window_width);
    std::int64_t last_width() const { return m_lastWidth; }
    std::int64_t last_mark_x() const { return m_lastMarkX; }

  private:
    std::int64_t m_lastWidth = 0;
    std::int64_t m_lastMarkX = 0;
};

}  // namespace qvprt::editor
