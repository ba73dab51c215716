// Commands whose behaviour lands with the layout, file and printing work.
#include "editor/Editor.h"

namespace qvprt::editor {}  // namespace qvprt::editor
