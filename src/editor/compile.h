#pragma once
// Compilation of every grid row into its record, before each print, preview and save.

#include "editor/SegmentGrid.h"
#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::editor {

struct CompileResult {
    int overlong_count = 0;                      // rows whose text reached 50 bytes
    int cut_count = 0;                           // rows whose text lost bytes to the cut
    model::SegmentNode* walk_segment = nullptr;  // the last record compiled
};

// Walks the grid rows and the list from `head_segment` in step and rebuilds each record's text,
// counters, enabled and is_current flags, then measures it. A grid longer than the list compiles
// the last record again for each extra row. The printer form when `editForm` is false.
CompileResult CompileSegments(bool editForm, const SegmentGrid& grid,
                              const model::JobSettings& settings, model::SegmentNode* head_segment,
                              int current_row);

}  // namespace qvprt::editor
