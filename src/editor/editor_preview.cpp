// The preview command.
#include "editor/Editor.h"

namespace qvprt::editor {

std::optional<double> Editor::PreviewHeightMm(const model::JobSettings& settings) {
    // The material code decides, as the records carry it; any code but a label's has the tube's
    // heights.
    const model::Material& m =
        model::material_or_tube(model::material_position(settings.material_code[0]));
    const model::MaterialParam* p = m.param_at(settings.material_param_index);
    if (p == nullptr) {
        return std::nullopt;
    }
    return p->preview_mm;
}

void Editor::OnPreview() {
    view_.CommitCellEditor();
    // Fresh enabled flags, current marks, texts and counters for the picture.
    CompileSegments(true);
    if (const std::optional<double> mm = PreviewHeightMm(settings_)) {
        view_.SetPreviewHeight(*mm);
    }
    view_.ShowSegments();
}

}  // namespace qvprt::editor
