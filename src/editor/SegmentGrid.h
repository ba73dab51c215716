#pragma once
// The segment grid's data without any widget toolkit: ordered rows, each with a check box and ten
// GBK cells, the grid's own current row and column, and the header's check states. One listener
// (the Qt model in the window) mirrors it without copying the rows.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qvprt::editor {

enum GridColumn {
    COL_CHECK = 0,
    COL_CURRENT = 1,
    COL_NUMBER = 2,
    COL_TEXT = 3,
    COL_TEXT2 = 4,
    COL_REPEAT = 5,
    COL_FONTSIZE = 6,
    COL_DECORATION = 7,
    COL_DIRECTION = 8,
    COL_SCALE = 9,
};
inline constexpr int kGridColumns = 10;

// Structural changes come in begin/end pairs around the change, as Qt's item models need them;
// cell and check box changes may be gathered into one rectangle by a batch.
class SegmentGridListener {
  public:
    virtual ~SegmentGridListener() = default;
    virtual void BeginInsertRows(int first, int last) = 0;
    virtual void EndInsertRows() = 0;
    virtual void BeginRemoveRows(int first, int last) = 0;
    virtual void EndRemoveRows() = 0;
    // Cells (check boxes are column 0) in rows top..bottom, columns left..right changed.
    virtual void CellsChanged(int top, int left, int bottom, int right) = 0;
    virtual void CurrentRowChanged(int row, bool ensure_visible) = 0;
    virtual void HeaderCheckStateChanged(int column) = 0;
};

class SegmentGrid {
  public:
    SegmentGrid();

    void SetListener(SegmentGridListener* listener) { listener_ = listener; }

    int GetItemCount() const { return static_cast<int>(rows_.size()); }
    // Inserts an empty, unchecked row at `row` (clamped to the end); answers its index.
    int InsertItem(int row);
    bool DeleteItem(int row);
    void DeleteAllItems();

    // Empty for a row or column out of range.
    const std::string& GetItemText(int row, int column) const;
    // 0 when row or column is out of range (nothing changes), else 1. Writing the text a cell
    // already holds tells nobody.
    int SetCellText(int row, int column, std::string_view text);

    bool GetCheck(int row) const;
    bool SetCheck(int row, bool checked);

    int GetCurrentColumn() const { return m_curCol; }
    void SetCurrentColumn(int column) { m_curCol = column; }
    int GetCurrentRowOfGrid() const { return m_curRow; }
    // The view's click handling writes m_curRow (-1 after a click that hit no row).
    void SetCurrentRowOfGrid(int row) { m_curRow = row; }
    // Gives the row the selected and focused states and makes it the grid's current row.
    void SelectRow(int row, bool ensure_visible);

    // 0 for a column out of range, else stores the state (0 none, 1 clear, 2 ticked) and answers 1.
    int SetHeaderCheckState(int column, int state);
    // The stored state, or -1 for a column out of range.
    int GetHeaderCheckState(int column) const;

    // Gathers cell and check box changes into one notification until the outermost batch ends.
    class Batch {
      public:
        explicit Batch(SegmentGrid& grid) : grid_(grid) { ++grid_.batch_depth_; }
        ~Batch() {
            if (--grid_.batch_depth_ == 0) {
                grid_.Flush();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        SegmentGrid& grid_;
    };

    struct Row {
        bool checked = false;
        std::array<std::string, kGridColumns> cells;
        bool operator==(const Row&) const = default;
    };
    // Everything the grid holds, for undo.
    struct Contents {
        std::vector<Row> rows;
        std::array<int, kGridColumns> header_states{};
        int current_row = 0, current_column = 0;
    };
    // Replaces every row; the listener hears the rows go and come back.
    void SetContents(Contents contents);
    const std::vector<Row>& rows() const { return rows_; }
    const std::array<int, kGridColumns>& header_states() const { return header_states_; }

  private:
    bool RowInRange(int row) const { return row >= 0 && row < GetItemCount(); }
    void CellChanged(int row, int column);
    void Flush();

    std::vector<Row> rows_;
    std::array<int, kGridColumns> header_states_{};
    int m_curRow = 0;
    int m_curCol = 0;
    SegmentGridListener* listener_ = nullptr;
    int batch_depth_ = 0;
    bool dirty_ = false;
    int dirty_top_ = 0, dirty_left_ = 0, dirty_bottom_ = 0, dirty_right_ = 0;
};

}  // namespace qvprt::editor
