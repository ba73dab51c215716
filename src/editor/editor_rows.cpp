// Rows of the grid and records of the list, kept in step.
#include <string>

#include "editor/Editor.h"
#include "printing/job_stream.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace qvprt::editor {

using model::SegmentNode;

SegmentNode* Editor::InsertRow(int row) {
    SegmentNode* record =
        segments_.insert_after(row > 0 ? segments_.at(row - 1) : nullptr, settings_);
    grid_.InsertItem(row);
    return record;
}

SegmentNode* Editor::EraseRow(int row) {
    SegmentNode* record = segments_.at(row);
    if (record == walk_segment_) {
        walk_segment_ = nullptr;
    }
    if (record == current_segment_) {
        current_segment_ = nullptr;
    }
    grid_.DeleteItem(row);
    return segments_.erase(record);
}

void Editor::ClearRows() {
    segments_.clear();
    current_segment_ = walk_segment_ = nullptr;
    grid_.DeleteAllItems();
}

int Editor::AppendRows(model::SegmentList&& read) {
    const int first = grid_.GetItemCount();
    int row = first;
    for (SegmentNode* r = segments_.splice_back(std::move(read)); r != nullptr; r = r->next) {
        grid_.InsertItem(row++);
    }
    return first;
}

void Editor::MakeRowCurrent(int row) {
    const int n = grid_.GetItemCount();
    if (row < 0 || row >= n) {
        current_row_ = -1;
        return;
    }
    current_row_ = row;
    grid_.SelectRow(row, true);
    current_segment_ = segments_.at(row);
    static const std::string star = text::gbk("★");
    SegmentGrid::Batch batch(grid_);
    for (int i = 0; i < n; ++i) {
        grid_.SetCellText(i, COL_CURRENT, i == row ? std::string_view(star) : std::string_view());
        grid_.SetCellText(i, COL_NUMBER, std::to_string(i + 1));
    }
    // Whatever made the row current, the boxes show its values, so that the next box change
    // applies to values the user sees.
    if (current_segment_ != nullptr) {
        ShowRowAttributes(*current_segment_);
    }
}

void Editor::FillRowCells(int row, const SegmentNode& n) {
    grid_.SetCellText(row, COL_REPEAT, std::to_string(n.repeat));
    grid_.SetCellText(row, COL_FONTSIZE, std::to_string(n.font_size));
    grid_.SetCellText(row, COL_DECORATION, DecorationText(n.decoration));
    grid_.SetCellText(row, COL_DIRECTION, DirectionText(n.direction));
    grid_.SetCellText(row, COL_SCALE, ScaleText(n.char_scale));
}

void Editor::AddRow() {
    const Step step(*this);
    if (grid_.GetItemCount() >= model::kMaxRows) {
        ShowMessage("已经到最大行数！", "提示");
        return;
    }
    view_.CommitCellEditor();
    if (!segments_.empty() &&
        printing::encoded_job_size(segments_.head()) >= printing::kMaxJobBytes) {
        ShowMessage("已经超出最大打印量！", "提示");
        return;
    }
    const int index = current_row_ + 1;
    SegmentGrid::Batch batch(grid_);
    current_segment_ = NewDefaultRow(index);
    grid_.SetCurrentColumn(COL_NUMBER);
    MakeRowCurrent(index);
}

SegmentNode* Editor::NewDefaultRow(int index) {
    SegmentNode* record = InsertRow(index);
    if (controls_.external_font) {
        record->char_scale = 2;
    }
    grid_.SetCheck(index, true);
    grid_.SetCellText(index, COL_NUMBER, std::to_string(index + 1));
    grid_.SetCellText(index, COL_REPEAT, std::to_string(settings_.default_repeat));
    grid_.SetCellText(index, COL_FONTSIZE, std::to_string(settings_.default_font_size));
    grid_.SetCellText(index, COL_DECORATION, DecorationText(settings_.default_decoration));
    grid_.SetCellText(index, COL_DIRECTION, DirectionText(settings_.default_direction));
    grid_.SetCellText(index, COL_SCALE, ScaleText(record->char_scale));
    return record;
}

void Editor::DeleteCheckedRows() {
    const Step step(*this);
    view_.CommitCellEditor();
    const int n = grid_.GetItemCount();
    auto clear_only_row = [this]() {
        text::fill_bytes(current_segment_->text.data(), current_segment_->text.size(), 0);
        current_segment_->text_length = 0;
        grid_.SetCellText(0, COL_TEXT, "");
        grid_.SetCellText(0, COL_TEXT2, "");
    };
    if (n == 1) {
        current_segment_ = segments_.head();
        clear_only_row();
        return;
    }
    if (!prompts_.AskYesNo(text::gbk("将全部删除选定行，是否继续？"), std::string(kAppTitle))) {
        return;
    }
    SegmentGrid::Batch batch(grid_);
    SegmentNode* record = segments_.tail();
    int last_deleted = -1;
    for (int row = n - 1; row >= 0 && record != nullptr; --row) {
        SegmentNode* prev = record->prev;
        const bool ticked = grid_.GetCheck(row);
        record->enabled = ticked ? 1 : 0;
        if (ticked) {
            if (segments_.size() == 1) {
                current_segment_ = record;
                clear_only_row();
            } else {
                EraseRow(row);
                last_deleted = row;
            }
        }
        record = prev;
    }
    walk_segment_ = nullptr;
    // The row that now stands where the topmost deleted row stood becomes current; the numbers and
    // the star follow, so rows and records stay paired before the next command.
    int next = last_deleted >= 0 ? last_deleted : current_row_;
    if (next >= grid_.GetItemCount()) {
        next = grid_.GetItemCount() - 1;
    }
    if (next < 0) {
        next = 0;
    }
    MakeRowCurrent(next);
}

int Editor::OnRowClicked(int row, int /*column*/) {
    if (static_cast<unsigned>(row) >= static_cast<unsigned>(grid_.GetItemCount())) {
        return 0;
    }
    MakeRowCurrent(row);
    return 0;
}

void Editor::ShowRowAttributes(const SegmentNode& n) {
    SelectEntry(controls_.font_size, Control::FontSize, n.auto_font ? 0 : n.font_size);
    SelectEntry(controls_.scale, Control::Scale, n.char_scale);
    // A decoration no entry has leaves the box as it is.
    if (const int decoration = model::kDecorations.position_of(n.decoration); decoration >= 0) {
        SelectEntry(controls_.decoration, Control::Decoration, decoration);
    }
    SelectEntry(controls_.direction, Control::Direction,
                model::kDirections.position_of(n.direction));
}

bool Editor::SetRowCheck(int row, bool checked) {
    const Step step(*this);
    return grid_.SetCheck(row, checked);
}

void Editor::OnCheckColumnClick(int column) {
    const Step step(*this);
    if (column != COL_CHECK) {
        return;
    }
    const int state = grid_.GetHeaderCheckState(COL_CHECK);
    if (state != 1 && state != 2) {
        return;
    }
    const bool tick = state == 1;
    grid_.SetHeaderCheckState(COL_CHECK, tick ? 2 : 1);
    SegmentGrid::Batch batch(grid_);
    for (int i = 0; i < grid_.GetItemCount(); ++i) {
        grid_.SetCheck(i, tick);
    }
}

}  // namespace qvprt::editor
