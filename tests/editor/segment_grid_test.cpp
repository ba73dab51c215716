#include "editor/SegmentGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvprt::editor {
namespace {

// Records every notification as a line of text.
class Recorder : public SegmentGridListener {
  public:
    void BeginInsertRows(int f, int l) override { log.push_back("ins " + Span(f, l)); }
    void EndInsertRows() override { log.push_back("ins end"); }
    void BeginRemoveRows(int f, int l) override { log.push_back("rem " + Span(f, l)); }
    void EndRemoveRows() override { log.push_back("rem end"); }
    void CellsChanged(int t, int l, int b, int r) override {
        log.push_back("cells " + Span(t, b) + " " + Span(l, r));
    }
    void CurrentRowChanged(int row, bool v) override {
        log.push_back("cur " + std::to_string(row) + (v ? " v" : ""));
    }
    void HeaderCheckStateChanged(int c) override { log.push_back("hdr " + std::to_string(c)); }

    static std::string Span(int a, int b) { return std::to_string(a) + ".." + std::to_string(b); }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(SegmentGrid, RangeChecksChangeNothing) {
    SegmentGrid g;
    Recorder r;
    g.SetListener(&r);
    g.InsertItem(0);
    g.InsertItem(1);
    r.log.clear();
    struct Case {
        int row, column;
    };
    for (const Case c : {Case{2, 3}, Case{-1, 3}, Case{0, 10}, Case{0, -1}, Case{5, 0}}) {
        EXPECT_EQ(g.SetCellText(c.row, c.column, "x"), 0);
        EXPECT_EQ(g.GetItemText(c.row, c.column), "");
    }
    EXPECT_FALSE(g.SetCheck(2, true));
    EXPECT_FALSE(g.DeleteItem(2));
    EXPECT_EQ(g.SetHeaderCheckState(10, 2), 0);
    EXPECT_EQ(g.GetHeaderCheckState(10), -1);
    EXPECT_EQ(g.GetHeaderCheckState(-1), -1);
    EXPECT_TRUE(r.log.empty());
    EXPECT_EQ(g.GetItemCount(), 2);

    EXPECT_EQ(g.SetCellText(1, COL_SCALE, "50%"), 1);
    EXPECT_EQ(g.GetItemText(1, COL_SCALE), "50%");
    EXPECT_EQ(g.SetHeaderCheckState(COL_CHECK, 2), 1);
    EXPECT_EQ(g.GetHeaderCheckState(COL_CHECK), 2);
}

TEST(SegmentGrid, RowsMoveWithTheirCells) {
    SegmentGrid g;
    EXPECT_EQ(g.InsertItem(5), 0);  // clamped to the end
    g.SetCellText(0, COL_TEXT, "A");
    g.SetCheck(0, true);
    EXPECT_EQ(g.InsertItem(0), 0);
    EXPECT_EQ(g.GetItemText(1, COL_TEXT), "A");
    EXPECT_TRUE(g.GetCheck(1));
    EXPECT_FALSE(g.GetCheck(0));
    EXPECT_TRUE(g.DeleteItem(0));
    EXPECT_EQ(g.GetItemText(0, COL_TEXT), "A");
    g.DeleteAllItems();
    EXPECT_EQ(g.GetItemCount(), 0);
}

TEST(SegmentGrid, NotificationsAndBatches) {
    SegmentGrid g;
    Recorder r;
    g.SetListener(&r);
    g.InsertItem(0);
    g.InsertItem(1);
    g.SetCellText(0, COL_TEXT, "A");
    g.SetCellText(0, COL_TEXT, "A");  // unchanged: no notification
    g.SetCheck(1, true);
    {
        SegmentGrid::Batch outer(g);
        g.SetCellText(1, COL_NUMBER, "2");
        {
            SegmentGrid::Batch inner(g);
            g.SetCellText(0, COL_CURRENT, "x");
        }
        g.SetCheck(0, true);
    }
    {
        SegmentGrid::Batch b(g);
        g.SetCellText(1, COL_TEXT, "B");
        g.InsertItem(0);  // flushes first: the pending rectangle names rows about to move
        g.SetCellText(2, COL_TEXT, "C");
    }
    g.SelectRow(2, true);
    g.SetHeaderCheckState(0, 1);
    g.DeleteAllItems();
    EXPECT_EQ(r.log,
              (Log{"ins 0..0", "ins end", "ins 1..1", "ins end", "cells 0..0 3..3",
                   "cells 1..1 0..0", "cells 0..1 0..2", "cells 1..1 3..3", "ins 0..0", "ins end",
                   "cells 2..2 3..3", "cur 2 v", "hdr 0", "rem 0..2", "rem end"}));
    EXPECT_EQ(g.GetCurrentRowOfGrid(), 2);
}

}  // namespace
}  // namespace qvprt::editor
