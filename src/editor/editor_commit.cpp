// A committed cell: the typed text or repeat count goes into the current record, is checked
// against the segment, and Enter moves the editor on.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/Editor.h"
#include "layout/measure.h"
#include "layout/segment_text.h"
#include "printing/job_stream.h"
#include "text/bytes.h"

namespace qvprt::editor {

using model::SegmentNode;

namespace {

// The cell read as a decimal integer from its leading digits; an empty cell reads 0.
long LeadingInteger(const std::string& s) {
    return std::strtol(s.c_str(), nullptr, 10);
}

}  // namespace

int Editor::OnCanEditCell(int /*row*/, int column) {
    const SegmentNode* n = current_segment_;
    if (n != nullptr && n->double_line == 0 && column == COL_TEXT2 &&
        settings_.material_index == 1 && n->auto_font == 0 && n->font_size > 3) {
        ShowMessage("字体太大，不适合双行，请先选择1-3号字体！", "提示");
        return 0;
    }
    return 1;
}

int Editor::CommitCell(int row, int column, std::string_view text, bool ended_by_enter) {
    const Step step(*this);
    if (grid_.SetCellText(row, column, text) == 0) {
        return 0;
    }
    return OnCellChanged(row, column, ended_by_enter);
}

// A refused commit answers 0 before the Enter is looked at: the edit does not move on.
int Editor::OnCellChanged(int row, int column, bool ended_by_enter) {
    SegmentNode* n = current_segment_;
    if (n == nullptr) {
        return 0;
    }
    if (column == COL_REPEAT) {
        const long value = LeadingInteger(grid_.GetItemText(row, COL_REPEAT));
        if (value > model::kMaxRepeat || value < model::kMinRepeat) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "重复次数应在[%d-%d]之间，设置无效！", model::kMinRepeat,
                          model::kMaxRepeat);
            ShowMessage(buf, "Prompt");
            grid_.SetCellText(row, COL_REPEAT, std::to_string(n->repeat));
            return 0;
        }
        model::set_repeat(*n, static_cast<int>(value));
    } else {
        std::string s = grid_.GetItemText(row, COL_TEXT);
        const std::string& t = grid_.GetItemText(row, COL_TEXT2);
        if (!t.empty()) {
            s += model::CODE_LINE_BREAK;
            s += t;
        }
        if (s.size() > static_cast<std::size_t>(model::kMaxTextBytes)) {
            ShowMessage("输入内容超长！", "提示");
            return 0;
        }
        const std::string old(n->text.data(),
                              std::min<std::size_t>(n->text_length, model::kMaxTextBytes));
        // After a print the record holds the printer's codes; the cells get the marks back, or
        // the next compilation would lose the serial number and the scripts.
        const auto [old1, old2] = CellsFromRecordText(*n);

        // The wide-character count is taken from the text being stored, not left from the
        // previous text: a stale count would measure a new text as wider or narrower than it is.
        auto store = [n](const std::string& text) {
            text::copy_field(n->text, text);
            n->text_length = static_cast<std::uint8_t>(text.size());
            n->double_line = text.find(model::CODE_LINE_BREAK) != std::string::npos ? 1 : 0;
            n->wide_char_count = model::count_wide_chars(*n);
        };
        store(s);
        Refit(*n);
        if (layout::SegmentOverflows(*n, settings_)) {
            store(old);
            grid_.SetCellText(current_row_, COL_TEXT, old1);
            grid_.SetCellText(current_row_, COL_TEXT2, old2);
            ShowMessage("输入内容超长！", "提示");
            return 0;
        }
        if (printing::encoded_job_size(segments_.head()) >= printing::kMaxJobBytes) {
            ShowMessage("已经超出最大打印量！", "提示");
            return 0;
        }
    }

    if (!ended_by_enter) {
        return 0;
    }
    const int rows = grid_.GetItemCount();
    if (row < rows - 1) {
        int next = row + 1;
        int next_column = column;
        if (column == COL_TEXT2) {
            int found = -1;
            SegmentNode* r = segments_.at(next);
            for (int i = next; i < rows && r != nullptr; ++i, r = r->next) {
                if (r->auto_font == 0 && r->font_size <= 3) {
                    found = i;
                    break;
                }
            }
            if (found >= 0) {
                next = found;
            } else {
                next_column = COL_TEXT;
            }
        }
        MakeRowCurrent(next);
        view_.OpenCellEditor(next, next_column);
    } else if (row < model::kMaxRows &&
               printing::encoded_job_size(segments_.head()) < printing::kMaxJobBytes) {
        AddRow();
        if (grid_.GetItemCount() > rows) {
            view_.OpenCellEditor(row + 1, COL_TEXT);
        }
    }
    return 0;
}

}  // namespace qvprt::editor
