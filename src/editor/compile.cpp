#include "editor/compile.h"

#include "editor/Editor.h"

#include "layout/measure.h"
#include "layout/segment_text.h"

namespace qvprt::editor {

CompileResult CompileSegments(bool editForm, const SegmentGrid& grid,
                              const model::JobSettings& settings, model::SegmentNode* head_segment,
                              int current_row) {
    CompileResult result;
    result.walk_segment = head_segment;
    if (head_segment == nullptr) {
        return result;
    }
    for (int r = 0; r < grid.GetItemCount(); ++r) {
        model::SegmentNode& record = *result.walk_segment;
        record.enabled = grid.GetCheck(r) ? 1 : 0;
        record.is_current = r == current_row ? 1 : 0;
        bool cut = false;
        if (layout::compile_segment_text(record, grid.GetItemText(r, COL_TEXT),
                                         grid.GetItemText(r, COL_TEXT2), editForm, &cut)) {
            ++result.overlong_count;
        }
        if (cut) {
            ++result.cut_count;
        }
        layout::MeasureSegment(record, settings);
        if (record.next != nullptr) {
            result.walk_segment = record.next;
        }
    }
    return result;
}

void Editor::CompileSegments(bool editForm) {
    const CompileResult r =
        editor::CompileSegments(editForm, grid_, settings_, segments_.head(), current_row_);
    walk_segment_ = r.walk_segment;
    overlong_count_ = r.overlong_count;
    cut_count_ = r.cut_count;
}

}  // namespace qvprt::editor
