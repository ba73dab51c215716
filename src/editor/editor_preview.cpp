// The preview command.
#include <array>

#include "editor/Editor.h"

namespace qvprt::editor {

std::optional<double> Editor::PreviewHeightMm(const model::JobSettings& settings) {
    const int i = settings.material_param_index;
    if (settings.material_code[0] == 'L') {
        // Label heights 6, 9 and 12 mm.
        if (i < 0 || i > 2) {
            return std::nullopt;
        }
        return 6.0 + 3.0 * i;
    }
    static constexpr std::array<double, 4> kTubeMm{5.0, 6.5, 8.0, 10.0};
    if (i < 0 || i >= static_cast<int>(kTubeMm.size())) {
        return std::nullopt;
    }
    return kTubeMm[static_cast<std::size_t>(i)];
}

void Editor::OnPreview() {
    view_.CommitCellEditor();
    // Fresh enabled flags, current marks, texts and counters for the picture.
    CompileSegments(true);
    if (const std::optional<double> mm = PreviewHeightMm(settings)) {
        view_.SetPreviewHeight(*mm);
    }
    view_.ShowSegments();
}

}  // namespace qvprt::editor
