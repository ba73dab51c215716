#include "editor/SegmentGrid.h"

#include <algorithm>
#include <utility>

namespace qvprt::editor {

namespace {
const std::string kEmpty;
}

SegmentGrid::SegmentGrid() = default;

int SegmentGrid::InsertItem(int row) {
    const int at = std::clamp(row, 0, GetItemCount());
    Flush();  // pending rectangles would name rows that are about to move
    if (listener_) {
        listener_->BeginInsertRows(at, at);
    }
    rows_.insert(rows_.begin() + at, Row{});
    if (listener_) {
        listener_->EndInsertRows();
    }
    return at;
}

bool SegmentGrid::DeleteItem(int row) {
    if (!RowInRange(row)) {
        return false;
    }
    Flush();
    if (listener_) {
        listener_->BeginRemoveRows(row, row);
    }
    rows_.erase(rows_.begin() + row);
    if (listener_) {
        listener_->EndRemoveRows();
    }
    return true;
}

void SegmentGrid::DeleteAllItems() {
    if (rows_.empty()) {
        return;
    }
    Flush();
    if (listener_) {
        listener_->BeginRemoveRows(0, GetItemCount() - 1);
    }
    rows_.clear();
    if (listener_) {
        listener_->EndRemoveRows();
    }
}

const std::string& SegmentGrid::GetItemText(int row, int column) const {
    if (!RowInRange(row) || column < 0 || column >= kGridColumns) {
        return kEmpty;
    }
    return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

int SegmentGrid::SetCellText(int row, int column, std::string_view text) {
    if (!RowInRange(row) || column < 0 || column >= kGridColumns) {
        return 0;
    }
    std::string& cell =
        rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
    if (cell != text) {
        cell.assign(text);
        CellChanged(row, column);
    }
    return 1;
}

bool SegmentGrid::GetCheck(int row) const {
    return RowInRange(row) && rows_[static_cast<std::size_t>(row)].checked;
}

bool SegmentGrid::SetCheck(int row, bool checked) {
    if (!RowInRange(row)) {
        return false;
    }
    bool& c = rows_[static_cast<std::size_t>(row)].checked;
    if (c != checked) {
        c = checked;
        CellChanged(row, COL_CHECK);
    }
    return true;
}

void SegmentGrid::SelectRow(int row, bool ensure_visible) {
    m_curRow = row;
    if (listener_) {
        listener_->CurrentRowChanged(row, ensure_visible);
    }
}

int SegmentGrid::SetHeaderCheckState(int column, int state) {
    if (column < 0 || column >= kGridColumns) {
        return 0;
    }
    header_states_[static_cast<std::size_t>(column)] = state;
    if (listener_) {
        listener_->HeaderCheckStateChanged(column);
    }
    return 1;
}

int SegmentGrid::GetHeaderCheckState(int column) const {
    if (column < 0 || column >= kGridColumns) {
        return -1;
    }
    return header_states_[static_cast<std::size_t>(column)];
}

void SegmentGrid::CellChanged(int row, int column) {
    if (!listener_) {
        return;
    }
    if (!dirty_) {
        dirty_ = true;
        dirty_top_ = dirty_bottom_ = row;
        dirty_left_ = dirty_right_ = column;
    } else {
        dirty_top_ = std::min(dirty_top_, row);
        dirty_bottom_ = std::max(dirty_bottom_, row);
        dirty_left_ = std::min(dirty_left_, column);
        dirty_right_ = std::max(dirty_right_, column);
    }
    if (batch_depth_ == 0) {
        Flush();
    }
}

void SegmentGrid::Flush() {
    if (!dirty_) {
        return;
    }
    dirty_ = false;
    if (listener_) {
        listener_->CellsChanged(dirty_top_, dirty_left_, dirty_bottom_, dirty_right_);
    }
}

void SegmentGrid::SetContents(Contents contents) {
    Flush();
    // Only the rows that come or go are announced as such, so the view keeps its scroll position;
    // the rest are repainted as changed cells.
    const int before = GetItemCount();
    const int after = static_cast<int>(contents.rows.size());
    if (after < before && listener_ != nullptr) {
        listener_->BeginRemoveRows(after, before - 1);
    } else if (after > before && listener_ != nullptr) {
        listener_->BeginInsertRows(before, after - 1);
    }
    rows_ = std::move(contents.rows);
    if (after < before && listener_ != nullptr) {
        listener_->EndRemoveRows();
    } else if (after > before && listener_ != nullptr) {
        listener_->EndInsertRows();
    }
    header_states_ = contents.header_states;
    m_curCol = contents.current_column;
    m_curRow = contents.current_row;
    if (listener_ != nullptr) {
        if (after > 0) {
            listener_->CellsChanged(0, 0, after - 1, kGridColumns - 1);
        }
        listener_->HeaderCheckStateChanged(COL_CHECK);
        listener_->CurrentRowChanged(m_curRow, true);
    }
}

}  // namespace qvprt::editor
