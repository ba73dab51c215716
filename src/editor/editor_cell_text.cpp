// A committed cell text that cannot become GBK.
#include "editor/Editor.h"

namespace qvprt::editor {

void Editor::OnCellTextRefused(int /*row*/, int /*column*/) {
    // An Enter that ended a refused edit must not move the next commit on to another row.
    g_enterCommit = false;
    ShowMessage("输入内容含有无法打印的字符！", "提示");
}

}  // namespace qvprt::editor
