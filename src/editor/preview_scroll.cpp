#include "editor/preview_scroll.h"

#include <algorithm>

namespace qvprt::editor {

namespace {
constexpr std::int64_t kBarLimit = 0x7fffffff;
constexpr std::int64_t kBarSteps = std::int64_t{1} << 30;
}  // namespace

void PreviewScroll::Set(std::int64_t width, std::int64_t window_width, std::int64_t position) {
    maximum_ = std::max<std::int64_t>(width, 0);
    page_ = std::max<std::int64_t>(window_width / 10, 0);
    unit_ = maximum_ <= kBarLimit ? 1 : (maximum_ + kBarSteps - 1) / kBarSteps;
    position_ = std::clamp<std::int64_t>(position, 0, maximum_);
}

std::int64_t PreviewScroll::FromBar(int value) const {
    return std::clamp<std::int64_t>(std::int64_t{value} * unit_, 0, maximum_);
}

bool PreviewScroll::Apply(ScrollRequest request, std::int64_t thumb) {
    std::int64_t p = position_;
    switch (request) {
        case ScrollRequest::LineLeft:
            p -= unit_;
            break;
        case ScrollRequest::LineRight:
            p += unit_;
            break;
        case ScrollRequest::PageLeft:
            p -= page_;
            break;
        case ScrollRequest::PageRight:
            p += page_;
            break;
        case ScrollRequest::ToLeft:
            p = 0;
            break;
        case ScrollRequest::ToRight:
            p = maximum_;
            break;
        case ScrollRequest::Thumb:
            p = std::clamp<std::int64_t>(thumb, 0, maximum_);
            break;
    }
    if (p < 0 || p > maximum_ || p == position_) {
        return false;
    }
    position_ = p;
    return true;
}

bool PreviewAdjuster::Adjust(std::int64_t content_width, std::int64_t mark_x,
                             std::int64_t window_width) {
    if ((content_width == m_lastWidth && mark_x == m_lastMarkX) || content_width == 0 ||
        content_width <= window_width) {
        return false;
    }
    m_lastWidth = content_width;
    m_lastMarkX = mark_x;
    return true;
}

}  // namespace qvprt::editor
