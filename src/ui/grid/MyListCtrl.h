#pragma once
// The segment grid: a table view over GridModel with check boxes in column 0, the "★" column and
// the in-place editor on the text and repeat cells. It tells its parent window what the user did
// and lets the parent decide.

#include <QMenu>
#include <QPointer>
#include <QTableView>
#include <optional>

#include "ui/grid/GridModel.h"
#include "ui/grid/InPlaceEdit.h"
#include "ui/grid/MyHeaderCtrl.h"

namespace qvprt::ui {

// The grid's messages to its parent window, sent synchronously.
class GridParent {
  public:
    virtual ~GridParent() = default;
    virtual void GridRowClicked(int row, int column) = 0;  // UWM_ROW_CLICKED
    virtual int GridCanEditCell(int row, int column) = 0;  // UWM_CAN_EDIT_CELL
    // UWM_CELL_CHANGED: the editor ended with `gbk`, by Enter or otherwise.
    virtual void GridCellCommitted(int row, int column, const std::string& gbk,
                                   bool ended_by_enter) = 0;
    virtual void GridHeaderClicked(int column) = 0;  // column click
    // A committed text held a character without a GBK code; the cell was left as it was.
    virtual void GridTextRefused(int row, int column) = 0;
    // Ctrl+V or the menu's 粘贴 with no cell editor open: the clipboard's text.
    virtual void GridPaste(const QString& text) = 0;
    // The items the window puts at the top of the grid's context menu.
    virtual void GridMenuItems(QMenu& menu) = 0;
};

class CMyListCtrl : public QTableView {
    Q_OBJECT
  public:
    explicit CMyListCtrl(QWidget* parent = nullptr);
    ~CMyListCtrl() override;

    // Attaches the model and the header painter; once.
    void SetGrid(GridModel* model, GridParent* parent);
    GridModel* gridModel() const { return model_; }
    editor::SegmentGrid& segments() const { return model_->grid(); }

    CInPlaceEdit* OpenCellEditor(int row, int column);
    // Row under a point in viewport coordinates, or -1; the column goes to *column (0 on a miss).
    int CellFromPoint(const QPoint& point, int* column = nullptr) const;
    int SetCellText(int row, int column, const std::string& gbk);
    void SelectRow(int row, bool ensure_visible);
    void SetGridColors(const QColor& background, const QColor& text);
    int SetHeaderCheckState(int column, int state);
    int GetHeaderCheckState(int column) const;
    int GetCurrentColumn() const;
    void SetCurrentColumn(int column);
    virtual void SetColumnWidthPadded(int column, int width);

    // The parent and the model are going: an open editor ends without a report.
    void Detach();

    // Ends an open editor as a focus loss would: its text is committed.
    void CommitEditor();
    CInPlaceEdit* openEditor() const { return editor_.data(); }

    // From the editor when it ends: no text when it was cancelled.
    void EditEnded(CInPlaceEdit* editor, int row, int column, const std::optional<QString>& text,
                   bool ended_by_enter);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

  private:
    void Paste();
    void TakeFocusForScroll();
    void EnsureRowVisible(int row, bool fully);
    void ShowFocus(bool focused);
    void AlignTopRow();

    GridModel* model_ = nullptr;
    GridParent* parent_ = nullptr;
    CMyHeaderCtrl* m_header = nullptr;
    bool m_headerHooked = false;
    QPointer<CInPlaceEdit> editor_;
};

}  // namespace qvprt::ui
