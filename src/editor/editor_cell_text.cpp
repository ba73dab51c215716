// A committed cell text that cannot become GBK.
#include "editor/Editor.h"

namespace qvprt::editor {

void Editor::OnCellTextRefused(int /*row*/, int /*column*/) {
    ShowMessage("输入内容含有无法打印的字符！", "提示");
}

}  // namespace qvprt::editor
