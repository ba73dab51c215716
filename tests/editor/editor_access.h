#pragma once
// The editor's state as tests and benchmarks set it up where no command makes that state (a
// record's attributes, a cell's text without its commit, a setting the boxes do not offer).

#include "editor/Editor.h"

namespace qvprt::editor::testing {

struct EditorAccess {
    static model::SegmentList& segments(Editor& e) { return e.segments_; }
    static model::SegmentNode*& current_segment(Editor& e) { return e.current_segment_; }
    static SegmentGrid& grid(Editor& e) { return e.grid_; }
    static model::JobSettings& settings(Editor& e) { return e.settings_; }
    static Controls& controls(Editor& e) { return e.controls_; }
    static printing::CSerialPort& printer_link(Editor& e) { return e.printer_link_; }
};

inline model::SegmentList& Records(Editor& e) {
    return EditorAccess::segments(e);
}
inline model::SegmentNode*& Current(Editor& e) {
    return EditorAccess::current_segment(e);
}
inline SegmentGrid& Grid(Editor& e) {
    return EditorAccess::grid(e);
}
inline model::JobSettings& Settings(Editor& e) {
    return EditorAccess::settings(e);
}
inline Controls& ControlsOf(Editor& e) {
    return EditorAccess::controls(e);
}
inline printing::CSerialPort& Link(Editor& e) {
    return EditorAccess::printer_link(e);
}

}  // namespace qvprt::editor::testing
