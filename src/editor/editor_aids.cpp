// The editing aids that write marks into a text cell: superscript, subscript and serial numbers.
#include "editor/Editor.h"
#include "layout/segment_text.h"

namespace qvprt::editor {

using model::SegmentNode;

namespace {

// The aids write into the text cell the user is in; any other column means the first line.
int TextColumn(int column) {
    return column == COL_TEXT || column == COL_TEXT2 ? column : COL_TEXT;
}

}  // namespace

void Editor::OnSuperscript() {
    AppendScriptMark(true);
}

void Editor::OnSubscript() {
    AppendScriptMark(false);
}

void Editor::AppendScriptMark(bool superscript) {
    const Step step(*this);
    view_.CommitCellEditor();
    SegmentNode* n = current_segment_;
    if (n == nullptr) {
        return;
    }
    const int row = current_row_;
    int column = grid_.GetCurrentColumn();
    if (column == COL_TEXT2 && OnCanEditCell(row, COL_TEXT2) == 0) {
        return;
    }
    column = TextColumn(column);
    std::string cell = grid_.GetItemText(row, column);
    if (static_cast<int>(cell.size()) >= model::kMaxTextBytes) {
        ShowMessage("本段内容超长！", "提示");
        return;
    }
    const std::string_view mark = superscript ? model::MARK_SUPERSCRIPT : model::MARK_SUBSCRIPT;
    const layout::MarkCount found = layout::count_marks(cell, mark);
    std::uint8_t& counter = superscript ? n->superscript_count : n->subscript_count;
    counter = static_cast<std::uint8_t>(found.count);
    n->script_count = static_cast<std::uint8_t>(n->superscript_count + n->subscript_count);
    // Two marks in a row would raise nothing.
    if (found.last != std::string_view::npos && found.last + mark.size() == cell.size()) {
        return;
    }
    ++counter;
    ++n->script_count;
    cell += mark;
    grid_.SetCellText(row, column, cell);
    view_.PostCall(WithinStep([this, row, column] { OnCellChanged(row, column, false); }));
}

void Editor::OnSerialNumbers() {
    const Step step(*this);
    SegmentNode* n = current_segment_;
    if (n == nullptr) {
        return;
    }
    SerialChoice current;
    current.natural = n->serial_natural;
    current.padded = n->serial_padded;
    current.upper = n->serial_upper;
    current.lower = n->serial_lower;
    current.start = n->serial_start;
    current.end = n->serial_end;
    const std::optional<SerialChoice> chosen = prompts_.ChooseSerial(current);
    if (!chosen) {
        return;
    }
    view_.CommitCellEditor();
    const int row = current_row_;
    const int column = TextColumn(grid_.GetCurrentColumn());
    std::string cell = grid_.GetItemText(row, column);
    if (static_cast<int>(cell.size()) >= model::kMaxTextBytes) {
        ShowMessage("本段内容超长！", "提示");
        return;
    }
    n->serial_start = chosen->start;
    n->serial_end = chosen->end;
    n->serial_natural = chosen->natural;
    n->serial_padded = chosen->padded;
    n->serial_upper = chosen->upper;
    n->serial_lower = chosen->lower;
    n->has_serial = (chosen->natural | chosen->padded | chosen->upper | chosen->lower) != 0;
    const bool marked =
        layout::count_marks(grid_.GetItemText(row, COL_TEXT), model::MARK_SERIAL).count > 0 ||
        layout::count_marks(grid_.GetItemText(row, COL_TEXT2), model::MARK_SERIAL).count > 0;
    if (!marked) {
        cell += model::MARK_SERIAL;
        grid_.SetCellText(row, column, cell);
    }
}

}  // namespace qvprt::editor
