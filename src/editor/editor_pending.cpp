// Commands whose behaviour lands with the layout, file and printing work.
#include "editor/Editor.h"

namespace qvprt::editor {

void Editor::SaveProjectFile() {}
void Editor::OpenFile() {}
void Editor::SaveUdiskFile() {}
void Editor::OnPrint() {}

}  // namespace qvprt::editor
