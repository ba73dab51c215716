#pragma once
// The editor's state as tests and benchmarks set it up where no command makes that state (a
// record's attributes, a cell's text without its commit).

#include "editor/Editor.h"

namespace qvprt::editor::testing {

struct EditorAccess {
    static model::SegmentList& segments(Editor& e) { return e.segments_; }
};

inline model::SegmentList& Records(Editor& e) {
    return EditorAccess::segments(e);
}

}  // namespace qvprt::editor::testing
