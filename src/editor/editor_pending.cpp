// Commands whose behaviour lands with the layout, file and printing work.
#include "editor/Editor.h"

namespace qvprt::editor {

void Editor::OnAutoLength() {}
void Editor::OnFixedLength() {}
void Editor::OnSetLength() {}
void Editor::OnSetRepeat() {}
void Editor::OnFontSizeChanged(int) {}
void Editor::OnScaleChanged(int) {}
void Editor::OnDecorationChanged(int) {}
void Editor::OnDirectionChanged(int) {}
void Editor::OnLocalFontLibrary() {}
void Editor::OnExternalFontLibrary() {}
void Editor::OnScopeChanged(bool current_only) {
    controls.current_only = current_only;
    controls.current_and_below = !current_only;
}
int Editor::OnCanEditCell(int, int) { return 1; }
int Editor::OnCellChanged(int, int) { return 0; }
void Editor::SaveProjectFile() {}
void Editor::OpenFile() {}
void Editor::SaveUdiskFile() {}
void Editor::OnPrint() {}

}  // namespace qvprt::editor
