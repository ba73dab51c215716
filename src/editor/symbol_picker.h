#pragma once
// The electrical symbol picker's behaviour: which symbol a double click hits, and the symbols
// collected so far. The dialog reads the mouse and shows `symbols()`.

#include <string>
#include <string_view>
#include <utility>

namespace qvprt::editor {

// The picture control's outer rectangle, its border included, in the dialog's client coordinates.
struct PictureRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The table entry under (x, y), or -1. The rectangle is cut into 16 columns and 5 rows by integer
// division, so the last few pixels at the right or bottom edge, and the three cells after the last
// symbol, hit nothing.
int SymbolAt(const PictureRect& picture, int x, int y);

// The symbol's name (GBK), for the tooltip over its cell.
std::string SymbolName(int entry);

class SymbolPicker {
  public:
    // Appends the symbol under the point; answers whether one was added.
    bool OnDoubleClick(const PictureRect& picture, int x, int y);
    // "重新选择".
    void Reselect() { m_symbols.clear(); }
    // "确定" reads the edit box back.
    void SetSymbols(std::string gbk) { m_symbols = std::move(gbk); }
    const std::string& symbols() const { return m_symbols; }

  private:
    std::string m_symbols;
};

}  // namespace qvprt::editor
