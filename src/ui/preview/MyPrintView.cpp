#include "ui/preview/MyPrintView.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/preview/MyStatic.h"

namespace qvprt::ui {

CMyPrintView::CMyPrintView(QWidget* parent)
    : QWidget(parent), picture_(new CMyStatic(this)), bar_(new QScrollBar(Qt::Horizontal, this)) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kPreviewBackground);
    setPalette(p);
    picture_->SetHeightMm(9.0);
    bar_->setRange(0, 0);
    connect(bar_, &QScrollBar::actionTriggered, this, &CMyPrintView::OnScrollAction);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CMyPrintView::OnTimer);
    timer_.start(kFirstAdjustMs);
}

void CMyPrintView::Reposition(const QRect& rect) {
    setGeometry(rect);
    // A hidden widget gets its resize event only when shown; the picture takes its size now.
    LayoutChildren();
    picture_->update();
}

void CMyPrintView::resizeEvent(QResizeEvent* /*event*/) {
    LayoutChildren();
}

void CMyPrintView::LayoutChildren() {
    picture_->setGeometry(0, 0, width(), std::max(0, height() - kScrollBarHeight));
    bar_->setGeometry(0, std::max(0, height() - kScrollBarHeight), width(), kScrollBarHeight);
}

void CMyPrintView::SetPreviewHeight(double millimetres) {
    picture_->SetHeightMm(millimetres);
}

void CMyPrintView::ShowSegments(const model::SegmentNode* head,
                                const model::JobSettings& settings) {
    picture_->SetSegments(head, settings);
    picture_->update();
}

void CMyPrintView::OnTimer() {
    Adjust();
    timer_.start(kAdjustMs);
}

void CMyPrintView::Adjust() {
    const std::int64_t w = picture_->GetContentWidth();
    const std::int64_t m = picture_->GetMarkX();
    if (!adjuster_.Adjust(w, m, width())) {
        return;
    }
    picture_->SetPictureWidth(w);
    // The view begins 20 pixels left of the current segment's marker.
    scroll_.Set(w, width(), m);
    SyncBar();
    picture_->SetOrigin(scroll_.position());
    picture_->update();
}

void CMyPrintView::SyncBar() {
    const QSignalBlocker block(bar_);
    bar_->setRange(0, scroll_.BarValue(scroll_.maximum()));
    bar_->setPageStep(static_cast<int>(std::max<std::int64_t>(1, scroll_.page() / scroll_.unit())));
    bar_->setSingleStep(1);
    bar_->setValue(scroll_.BarValue(scroll_.position()));
}

void CMyPrintView::OnScrollAction(int action) {
    using editor::ScrollRequest;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            scroll_.Apply(ScrollRequest::LineLeft);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            scroll_.Apply(ScrollRequest::LineRight);
            break;
        case QAbstractSlider::SliderPageStepSub:
            scroll_.Apply(ScrollRequest::PageLeft);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            scroll_.Apply(ScrollRequest::PageRight);
            break;
        case QAbstractSlider::SliderToMinimum:
            scroll_.Apply(ScrollRequest::ToLeft);
            break;
        case QAbstractSlider::SliderToMaximum:
            scroll_.Apply(ScrollRequest::ToRight);
            break;
        case QAbstractSlider::SliderMove:
            scroll_.Apply(ScrollRequest::Thumb, scroll_.FromBar(bar_->sliderPosition()));
            break;
        default:
            return;
    }
    // The bar shows what the table decided, not its own clamped step.
    bar_->setSliderPosition(scroll_.BarValue(scroll_.position()));
    picture_->SetOrigin(scroll_.position());
}

}  // namespace qvprt::ui
