#pragma once
// The picture of the job in the preview strip: the material band, every copy of every enabled
// segment with its box, border or underline and tick, and the red marker over the current row's
// segment. The job is laid out once when it is shown; a paint draws only the copies that meet the
// exposed area, at the scroll origin the strip gives.

#include <QWidget>
#include <cstdint>

#include "layout/preview_layout.h"
#include "model/job_settings.h"
#include "model/segment_list.h"
#include "ui/preview/preview_text.h"

namespace qvprt::ui {

class CMyStatic : public QWidget {
    Q_OBJECT
  public:
    explicit CMyStatic(QWidget* parent = nullptr);

    // Lays the list out (null: no segments) with the arrangement of `settings`; the caller then
    // asks for a repaint. The layout keeps its own copy: the records may change or go afterwards.
    void SetSegments(const model::SegmentNode* head, const model::JobSettings& settings);
    void SetHeightMm(double millimetres) { m_heightMm = millimetres; }
    double GetHeightMm() const { return m_heightMm; }
    std::int64_t GetContentWidth() const { return m_contentWidth; }
    std::int64_t GetMarkX() const { return m_markX; }

    // Picture x shown at the widget's left edge.
    void SetOrigin(std::int64_t x);
    std::int64_t origin() const { return origin_; }
    // How far the band reaches: the widget's width until the strip widens the picture.
    void SetPictureWidth(std::int64_t width);
    std::int64_t pictureWidth() const;

    // Paints the part `exposed` (widget coordinates) of a surface of `size`; what paintEvent does,
    // callable on any painter.
    void Paint(QPainter& painter, const QRect& exposed, const QSize& size);

    const layout::PreviewLayout& previewLayout() const { return layout_; }
    int dpi() const { return measurer_.dpi(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawCopy(QPainter& painter, const layout::PreviewCopy& copy, int yc);

    double m_heightMm = 9.0;
    std::int64_t m_contentWidth = 0;
    std::int64_t m_markX = 0;
    std::int64_t origin_ = 0;
    std::int64_t pictureWidth_ = 0;  // 0: the widget's width
    layout::PreviewLayout layout_;
    QtTextMeasurer measurer_;
};

}  // namespace qvprt::ui
