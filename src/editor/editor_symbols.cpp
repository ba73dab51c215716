// The electrical symbol command.
#include "editor/Editor.h"
#include "model/text_codes.h"

namespace qvprt::editor {

void Editor::InsertSymbol() {
    const Step step(*this);
    const std::optional<std::string> symbols = prompts_.ChooseSymbols();
    if (!symbols) {
        return;
    }
    view_.CommitCellEditor();
    const int row = current_row_;
    int column = grid_.GetCurrentColumn();
    if (column != COL_TEXT && column != COL_TEXT2) {
        column = COL_TEXT;
    }
    const std::string text = grid_.GetItemText(row, column);
    // The test is on the text before appending: compilation cuts what passes the limit.
    if (text.size() >= static_cast<std::size_t>(model::kMaxTextBytes)) {
        ShowMessage("本段内容超长！", "提示");
        return;
    }
    // The record takes the text at the next compilation; the cell commit is not run.
    grid_.SetCellText(row, column, text + *symbols);
}

}  // namespace qvprt::editor
