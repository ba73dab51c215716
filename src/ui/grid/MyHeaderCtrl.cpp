#include "ui/grid/MyHeaderCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "ui/grid/MyListCtrl.h"

namespace qvprt::ui {

CMyHeaderCtrl::CMyHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    ReadSystemColors();
    item_text_ = QApplication::palette().color(QPalette::ButtonText);
    setHighlightSections(false);
}

void CMyHeaderCtrl::ReadSystemColors() {
    const QPalette system = QApplication::palette();
    highlight_ = system.color(QPalette::Light);
    shadow_ = system.color(QPalette::Dark);
    face_ = system.color(QPalette::Button);
    set_text_ = system.color(QPalette::ButtonText);
}

void CMyHeaderCtrl::SetHeaderColors(const QColor& face, const QColor& text) {
    face_ = face;
    set_text_ = text;
    viewport()->update();
}

void CMyHeaderCtrl::changeEvent(QEvent* event) {
    QHeaderView::changeEvent(event);
    // The program's palette stands for the system colours; the grid's own palette does not.
    if (event->type() == QEvent::ApplicationPaletteChange) {
        ReadSystemColors();
        viewport()->update();
    }
}

void CMyHeaderCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // A second press and nothing more: no fitting of a column on its divider.
    mousePressEvent(event);
}

void CMyHeaderCtrl::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    const QRect area = event->rect();
    if (area.isEmpty()) {
        return;
    }
    p.fillRect(area, face_);
    p.setFont(font());
    const int n = count();
    int total = 0;
    for (int visual = 0; visual < n; ++visual) {
        const int section = logicalIndex(visual);
        if (isSectionHidden(section)) {
            continue;
        }
        const int width = sectionSize(section);
        total += width;
        const int left = sectionViewportPosition(section);
        const int right = left + width;  // one past the item, as a divider sees it
        QRect r(left, 0, width, height());
        r.adjust(kMargin, 0, -kMargin, 0);
        DrawHeaderItem(p, r, section);
        if (visual < n - 1 && draw_dividers_) {
            p.setPen(shadow_);
            p.drawLine(right - 1, 2, right - 1, height() - 1 - 2);
            p.setPen(highlight_);
            p.drawLine(right, 2, right, height() - 1 - 2);
        }
    }
    if (total > 0) {
        // Raised frame around the used width.
        const int x0 = -offset();
        const QRect frame(x0, 0, total, height());
        p.setPen(highlight_);
        p.drawLine(frame.topLeft(), frame.topRight());
        p.drawLine(frame.topLeft(), frame.bottomLeft());
        p.setPen(shadow_);
        p.drawLine(frame.bottomLeft(), frame.bottomRight());
        p.drawLine(frame.topRight(), frame.bottomRight());
    }
}

void CMyHeaderCtrl::DrawHeaderItem(QPainter& p, QRect rect, int section) {
    const int state = grid_ != nullptr ? grid_->GetHeaderCheckState(section) : 0;
    if ((state == 1 || state == 2) && rect.width() > 0) {
        const int left = rect.left();
        const int top = rect.top() + (rect.height() - kBoxSize) / 2;
        p.fillRect(QRect(left, top, kBoxSize, kBoxSize),
                   QApplication::style()->standardPalette().color(QPalette::Base));
        p.setPen(QColor(51, 102, 153));
        p.drawRect(QRect(left, top, kBoxSize - 1, kBoxSize - 1));
        if (state == 2) {
            // Seven strokes of three pixels: the short arm down to the left, the long arm up.
            static constexpr int kDx[7] = {9, 8, 7, 6, 5, 4, 3};
            static constexpr int kDy[7] = {3, 4, 5, 6, 7, 6, 5};
            p.setPen(QColor(51, 153, 51));
            for (int i = 0; i < 7; ++i) {
                p.drawLine(left + kDx[i], top + kDy[i], left + kDx[i], top + kDy[i] + 2);
            }
        }
        rect.setLeft(rect.left() + kBoxSize + kMargin);
    }
    const QString text =
        model() != nullptr ? model()->headerData(section, Qt::Horizontal).toString() : QString();
    if (text.isEmpty() || rect.width() <= 0) {
        return;
    }
    const auto align = static_cast<Qt::Alignment>(
        model()->headerData(section, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
    Qt::Alignment h = align & Qt::AlignHorizontal_Mask;
    if (h == 0) {
        h = Qt::AlignLeft;
    }
    p.setPen(item_text_);
    p.drawText(rect, static_cast<int>(h | Qt::AlignVCenter | Qt::TextSingleLine),
               p.fontMetrics().elidedText(text, Qt::ElideRight, rect.width()));
}

}  // namespace qvprt::ui
