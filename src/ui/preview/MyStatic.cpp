#include "ui/preview/MyStatic.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "model/coded_values.h"

namespace qvprt::ui {

namespace {
// Painter coordinates are ints; everything drawn lies near the exposed area, but a clamp keeps a
// far corner of a wide box from wrapping.
int near(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 24), 1 << 24));
}
}  // namespace

CMyStatic::CMyStatic(QWidget* parent) : QWidget(parent), measurer_(logicalDpiY()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    layout_.Build(nullptr, model::JobSettings{}, measurer_.dpi(), measurer_);
}

void CMyStatic::SetSegments(const model::SegmentNode* head, const model::JobSettings& settings) {
    layout_.Build(head, settings, measurer_.dpi(), measurer_);
}

void CMyStatic::SetOrigin(std::int64_t x) {
    if (x != origin_) {
        origin_ = x;
        update();
    }
}

void CMyStatic::SetPictureWidth(std::int64_t width) {
    pictureWidth_ = width;
    update();
}

std::int64_t CMyStatic::pictureWidth() const {
    return std::max<std::int64_t>(pictureWidth_, width());
}

void CMyStatic::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Paint(painter, event->rect(), size());
}

void CMyStatic::DrawCopy(QPainter& painter, const layout::PreviewCopy& c, int yc) {
    const layout::PreviewSegment& s = *c.segment;
    const int left = near(c.box_left - origin_);
    const int th = c.line_height;
    const int top = s.double_line ? yc - th : yc - th / 2;
    const int height = s.double_line ? 2 * th : th;
    const std::string gbk = layout::PreviewLayout::CopyText(s, c.value);
    const bool centred = layout_.centred();
    if (!s.double_line) {
        DrawPreviewLine(painter, QRect(left, top, c.box_width, th), PreviewQString(gbk), s.font,
                        measurer_, centred);
    } else {
        const auto [l1, l2] = layout::PreviewLayout::SplitLines(gbk);
        DrawPreviewLine(painter, QRect(left, top, c.box_width, th), PreviewQString(l1), s.font,
                        measurer_, centred);
        DrawPreviewLine(painter, QRect(left, top + th, c.box_width, th), PreviewQString(l2), s.font,
                        measurer_, centred);
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    if (s.decoration == model::kDecorationBorder) {
        painter.drawRect(QRect(left, top, c.box_width, height));
    } else if (s.decoration == model::kDecorationUnderline && c.box_width > 0) {
        painter.drawLine(left, top + height, left + c.box_width - 1, top + height);
    }
    const int tick = near(c.tick_x() - origin_);
    painter.drawLine(tick, yc - layout::kPreviewTickHalf, tick, yc + layout::kPreviewTickHalf - 1);
}

void CMyStatic::Paint(QPainter& painter, const QRect& exposed, const QSize& size) {
    painter.setClipRect(exposed);
    painter.fillRect(exposed, kPreviewBackground);
    const int h = layout::preview_band_height(measurer_.dpi(), m_heightMm);
    const int top = (size.height() - h) / 2;
    const int bottom = (size.height() + h) / 2;
    const int yc = (top + bottom) / 2;
    const std::int64_t picture = std::max<std::int64_t>(pictureWidth_, size.width());
    const std::int64_t band_left = std::max<std::int64_t>(5 - origin_, exposed.left());
    const std::int64_t band_right =
        std::min<std::int64_t>(picture - 5 - origin_, exposed.right() + 1);
    if (band_right > band_left) {
        painter.fillRect(QRect(near(band_left), top, near(band_right - band_left), bottom - top),
                         kPreviewBand);
    }

    const std::int64_t x0 = origin_ + exposed.left();
    const std::int64_t x1 = origin_ + exposed.right() + 1;
    // Markers first: the copies' text and lines lie over them.
    for (const std::int64_t m : layout_.markers()) {
        if (m + 30 >= x0 && m < x1) {
            const int x = near(m - origin_);
            const QPolygon triangle({QPoint(x, 10), QPoint(x + 30, 10), QPoint(x + 15, 25)});
            painter.setPen(QPen(Qt::black, 0));
            painter.setBrush(kPreviewMarker);
            painter.drawPolygon(triangle);
        }
    }
    layout_.ForEachCopy(x0, x1, [&](const layout::PreviewCopy& c) { DrawCopy(painter, c, yc); });

    m_contentWidth = layout_.content_width();
    if (layout_.has_mark()) {
        m_markX = layout_.mark_x();
    }
}

}  // namespace qvprt::ui
