#pragma once
// The preview strip: the picture of the job over the main window's bottom strip, its horizontal
// scroll bar, and a timer that widens the picture and brings the current segment into view.

#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "editor/preview_scroll.h"
#include "model/job_settings.h"
#include "model/segment_list.h"

class QScrollBar;

namespace qvprt::ui {

class CMyStatic;

class CMyPrintView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kScrollBarHeight = 20;
    static constexpr int kFirstAdjustMs = 100;
    static constexpr int kAdjustMs = 500;

    explicit CMyPrintView(QWidget* parent = nullptr);

    // Moves the strip onto `rect` (the parent's coordinates); the picture keeps its scroll state.
    void Reposition(const QRect& rect);
    // Takes effect at the next paint.
    void SetPreviewHeight(double millimetres);
    void ShowSegments(const model::SegmentNode* head, const model::JobSettings& settings);

    CMyStatic* picture() const { return picture_; }
    QScrollBar* scrollBar() const { return bar_; }
    const editor::PreviewScroll& scroll() const { return scroll_; }
    QTimer* adjustTimer() { return &timer_; }

    // One tick of the adjustment timer, without its restart.
    void Adjust();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayoutChildren();
    void OnTimer();
    void OnScrollAction(int action);
    void SyncBar();

    CMyStatic* picture_;
    QScrollBar* bar_;
    QTimer timer_;
    editor::PreviewScroll scroll_;
    editor::PreviewAdjuster adjuster_;
};

}  // namespace qvprt::ui
