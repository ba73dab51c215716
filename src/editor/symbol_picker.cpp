#include "editor/symbol_picker.h"

#include "layout/symbol_table.h"
#include "text/gbk.h"

namespace qvprt::editor {
namespace {
constexpr int kColumns = 16;
constexpr int kRows = 5;
}  // namespace

int SymbolAt(const PictureRect& picture, int x, int y) {
    if (x < picture.left || y < picture.top || x - picture.left >= picture.width ||
        y - picture.top >= picture.height) {
        return -1;
    }
    const int cell_width = picture.width / kColumns;
    const int cell_height = picture.height / kRows;
    // A picture smaller than its grid has no cells to hit.
    if (cell_width == 0 || cell_height == 0) {
        return -1;
    }
    const int column = (x - picture.left) / cell_width;
    const int row = (y - picture.top) / cell_height;
    const int entry = row * kColumns + column;
    if (column >= kColumns || row >= kRows || entry >= layout::SYMBOL_COUNT) {
        return -1;
    }
    return entry;
}

std::string SymbolName(int entry) {
    if (entry < 0 || entry >= layout::SYMBOL_COUNT) {
        return {};
    }
    return text::gbk(layout::kSymbolNames[entry]);
}

bool SymbolPicker::OnDoubleClick(const PictureRect& picture, int x, int y) {
    const int entry = SymbolAt(picture, x, y);
    if (entry < 0) {
        return false;
    }
    m_symbols += layout::kSymbolTable[entry];
    return true;
}

}  // namespace qvprt::editor
