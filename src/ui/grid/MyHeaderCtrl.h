#pragma once
// The grid's header, painted flat in the window's background with a check box on column 0.

#include <QHeaderView>

namespace qvprt::ui {

class CMyListCtrl;

class CMyHeaderCtrl : public QHeaderView {
    Q_OBJECT
  public:
    explicit CMyHeaderCtrl(QWidget* parent = nullptr);

    void SetGrid(CMyListCtrl* grid) { grid_ = grid; }
    void SetHeaderColors(const QColor& face, const QColor& text);
    QColor faceColor() const { return face_; }

    static constexpr int kMargin = 2;
    static constexpr int kBoxSize = 13;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    virtual void DrawHeaderItem(QPainter& painter, QRect rect, int section);

  private:
    void ReadSystemColors();

    QColor highlight_, shadow_, face_, set_text_, item_text_;
    bool draw_dividers_ = true;
    CMyListCtrl* grid_ = nullptr;
};

}  // namespace qvprt::ui
