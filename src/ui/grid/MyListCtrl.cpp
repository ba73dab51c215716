#include "ui/grid/MyListCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "ui/grid/InPlaceEdit.h"
#include "ui/qt_text.h"

namespace qvprt::ui {

using namespace editor;

CMyListCtrl::CMyListCtrl(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    // One tab stop: Tab and Shift+Tab leave the grid for the window's other controls, the arrow
    // keys move inside it.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    ShowFocus(false);
    // The scroll bars take the focus first, which ends an open editor with its text committed.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int) { TakeFocusForScroll(); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int) { TakeFocusForScroll(); });
}

CMyListCtrl::~CMyListCtrl() = default;

void CMyListCtrl::SetGrid(GridModel* model, GridParent* parent) {
    model_ = model;
    parent_ = parent;
    if (!m_headerHooked) {
        m_header = new CMyHeaderCtrl(this);
        m_header->SetGrid(this);
        setHorizontalHeader(m_header);
        m_headerHooked = true;
    }
    setModel(model);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setSectionsClickable(true);
    m_header->setStretchLastSection(false);
    connect(m_header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (parent_ != nullptr) {
            parent_->GridHeaderClicked(section);
        }
    });
    connect(model, &GridModel::currentRowSet, this,
            [this](int row, bool ensure_visible) { SelectRow(row, ensure_visible); });
}

int CMyListCtrl::CellFromPoint(const QPoint& point, int* column) const {
    if (column != nullptr) {
        *column = 0;
    }
    const int row = rowAt(point.y());
    if (row < 0 || model_ == nullptr) {
        return -1;
    }
    // Walk the columns from the row's left edge; a point on a boundary belongs to the left column.
    int left = columnViewportPosition(0);
    for (int c = 0; c < kGridColumns; ++c) {
        const int w = columnWidth(c);
        if (point.x() >= left && point.x() <= left + w) {
            if (column != nullptr) {
                *column = c;
            }
            return row;
        }
        left += w;
    }
    // Right of the last column: no cell, no row.
    return -1;
}

int CMyListCtrl::SetCellText(int row, int column, const std::string& gbk) {
    return segments().SetCellText(row, column, gbk);
}

void CMyListCtrl::EnsureRowVisible(int row, bool fully) {
    const int top = rowViewportPosition(row);
    const int h = rowHeight(row);
    const int page = viewport()->height();
    const bool visible = fully ? (top >= 0 && top + h <= page) : (top + h > 0 && top < page);
    if (!visible) {
        scrollTo(model_->index(row, columnAt(0) < 0 ? 0 : columnAt(0)),
                 QAbstractItemView::EnsureVisible);
    }
}

void CMyListCtrl::SelectRow(int row, bool ensure_visible) {
    if (model_ == nullptr || row < 0 || row >= model_->rowCount()) {
        return;
    }
    segments().SetCurrentRowOfGrid(row);
    const QModelIndex index = model_->index(row, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (ensure_visible) {
        EnsureRowVisible(row, true);
    }
}

void CMyListCtrl::SetGridColors(const QColor& background, const QColor& text) {
    QPalette p = palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Text, text);
    setPalette(p);
    m_header->SetHeaderColors(background, text);
}

int CMyListCtrl::SetHeaderCheckState(int column, int state) {
    return segments().SetHeaderCheckState(column, state);
}

int CMyListCtrl::GetHeaderCheckState(int column) const {
    return segments().GetHeaderCheckState(column);
}

int CMyListCtrl::GetCurrentColumn() const {
    return segments().GetCurrentColumn();
}

void CMyListCtrl::SetCurrentColumn(int column) {
    segments().SetCurrentColumn(column);
}

void CMyListCtrl::SetColumnWidthPadded(int column, int width) {
    setColumnWidth(column, width);
    setColumnWidth(column, width + 2 * CMyHeaderCtrl::kMargin);
}

CInPlaceEdit* CMyListCtrl::OpenCellEditor(int row, int column) {
    if (model_ == nullptr || row < 0 || row >= model_->rowCount()) {
        return nullptr;
    }
    EnsureRowVisible(row, false);
    if (column < 0 || column >= m_header->count() || columnWidth(column) < 5) {
        return nullptr;
    }
    int offset = 0;
    for (int c = 0; c < column; ++c) {
        offset += columnWidth(c);
    }
    int left = columnViewportPosition(0);
    const int client_right = viewport()->width();
    if (left + offset < 0 || left + offset > client_right) {
        const int scroll = left + offset;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + scroll);
        left = columnViewportPosition(0);
    }
    const int x = left + offset + 4;
    const int right = std::min(x + columnWidth(column) - 3, client_right);
    const QRect rect(QPoint(x, rowViewportPosition(row)),
                     QPoint(right - 1, rowViewportPosition(row) + rowHeight(row) - 1));

    auto* edit = new CInPlaceEdit(row, column, FromGbk(segments().GetItemText(row, column)), this);
    edit->setGeometry(rect);
    SetCurrentColumn(column);
    edit->SetDigitsOnly(column == COL_REPEAT);
    editor_ = edit;
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return edit;
}

void CMyListCtrl::Detach() {
    parent_ = nullptr;
    if (editor_ != nullptr) {
        delete editor_.data();
    }
    setModel(nullptr);
    model_ = nullptr;
}

void CMyListCtrl::CommitEditor() {
    if (editor_ != nullptr) {
        editor_->EndEdit();
    }
}

void CMyListCtrl::EditEnded(CInPlaceEdit* editor, int row, int column,
                            const std::optional<QString>& text, bool ended_by_enter) {
    if (editor_ == editor) {
        editor_ = nullptr;
    }
    if (!text.has_value() || parent_ == nullptr || model_ == nullptr) {
        return;
    }
    const std::optional<std::string> gbk = ToGbk(*text);
    if (!gbk.has_value()) {
        parent_->GridTextRefused(row, column);
        return;
    }
    parent_->GridCellCommitted(row, column, *gbk, ended_by_enter);
}

void CMyListCtrl::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || model_ == nullptr) {
        return;
    }
    int column = 0;
    const int row = CellFromPoint(event->position().toPoint(), &column);
    segments().SetCurrentRowOfGrid(row);
    SetCurrentColumn(column);
    if (row < 0) {
        return;
    }
    if (parent_ != nullptr) {
        parent_->GridRowClicked(row, column);
    }
    if (column != COL_TEXT && column != COL_TEXT2 && column != COL_REPEAT) {
        SelectRow(row, false);
        return;
    }
    if (parent_ == nullptr || parent_->GridCanEditCell(row, column) == 0) {
        return;
    }
    OpenCellEditor(row, column);
}

void CMyListCtrl::Paste() {
    const QString text = QGuiApplication::clipboard()->text();
    if (parent_ != nullptr && !text.isEmpty()) {
        parent_->GridPaste(text);
    }
}

void CMyListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && openEditor() == nullptr) {
        Paste();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CMyListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    if (parent_ != nullptr) {
        parent_->GridMenuItems(menu);
    }
    QAction* paste = menu.addAction(QStringLiteral("粘贴(&P)"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setEnabled(openEditor() == nullptr && !QGuiApplication::clipboard()->text().isEmpty());
    if (menu.exec(event->globalPos()) == paste) {
        Paste();
    }
    event->accept();
}

void CMyListCtrl::keyReleaseEvent(QKeyEvent* event) {
    QTableView::keyReleaseEvent(event);
    if (model_ == nullptr || event->isAutoRepeat() ||
        (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)) {
        return;
    }
    int row = segments().GetCurrentRowOfGrid();
    if (event->key() == Qt::Key_Up && row > 0) {
        --row;
    } else if (event->key() == Qt::Key_Down && row < model_->rowCount() - 1) {
        ++row;
    }
    segments().SetCurrentRowOfGrid(row);
    if (parent_ != nullptr) {
        parent_->GridRowClicked(row, GetCurrentColumn());
    }
    SelectRow(row, true);
}

QModelIndex CMyListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Home and End go to the first and last row, as Page Up and Page Down go a page; they move the
    // list's selection only, not the grid's current row.
    if (model_ != nullptr && model_->rowCount() > 0 && (action == MoveHome || action == MoveEnd)) {
        const int column = std::max(currentIndex().column(), 0);
        return model_->index(action == MoveHome ? 0 : model_->rowCount() - 1, column);
    }
    return QTableView::moveCursor(action, modifiers);
}

void CMyListCtrl::ShowFocus(bool focused) {
    // The selected row is drawn in the highlight colour only while the grid has the keyboard
    // focus, so the user sees where the keys go.
    static const QColor kUnfocusedSelection(214, 217, 223);
    QPalette p = palette();
    const QPalette system = QApplication::palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(
            group, QPalette::Highlight,
            focused ? system.color(QPalette::Active, QPalette::Highlight) : kUnfocusedSelection);
        p.setColor(group, QPalette::HighlightedText,
                   focused ? system.color(QPalette::Active, QPalette::HighlightedText)
                           : system.color(QPalette::Active, QPalette::Text));
    }
    setPalette(p);
}

void CMyListCtrl::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    ShowFocus(true);
}

void CMyListCtrl::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    ShowFocus(false);
}

void CMyListCtrl::AlignTopRow() {
    // At the end of its range the table view lines the last row up with the bottom edge, which
    // leaves the top row half under the header; keep the top row whole, as a list control does.
    QScrollBar* bar = verticalScrollBar();
    if (verticalScrollMode() != ScrollPerItem || bar->maximum() <= 0 ||
        bar->value() != bar->maximum() || bar->value() >= verticalHeader()->count()) {
        return;
    }
    const int offset = verticalHeader()->offset();
    const int top = verticalHeader()->sectionPosition(verticalHeader()->logicalIndex(bar->value()));
    if (offset != top) {
        verticalHeader()->setOffset(top);
        viewport()->scroll(0, offset - top);
    }
}

void CMyListCtrl::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    AlignTopRow();
}

void CMyListCtrl::updateGeometries() {
    QTableView::updateGeometries();
    AlignTopRow();
}

void CMyListCtrl::TakeFocusForScroll() {
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
        // In a window without the focus, setFocus sends no focus-out; end the editor directly.
        CommitEditor();
    }
}

void CMyListCtrl::wheelEvent(QWheelEvent* event) {
    TakeFocusForScroll();
    QTableView::wheelEvent(event);
}

}  // namespace qvprt::ui
