#include <gtest/gtest.h>

#include "fake_ports.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;

TEST(PreviewCommand, HeightFromMaterialAndParameter) {
    struct Case {
        std::array<char, 4> material;
        int param_index;
        std::vector<double> heights;  // empty: the strip keeps its height
    };
    const Case cases[] = {
        {{'L', 'A', 'B', 0}, 0, {6.0}},  {{'L', 'A', 'B', 0}, 1, {9.0}},
        {{'L', 'A', 'B', 0}, 2, {12.0}}, {{'L', 'A', 'B', 0}, 3, {}},
        {{'T', 'U', 'B', 0}, 0, {5.0}},  {{'T', 'U', 'B', 0}, 1, {6.5}},
        {{'S', 'T', 'U', 0}, 2, {8.0}},  {{'T', 'U', 'B', 0}, 3, {10.0}},
        {{'T', 'U', 'B', 0}, 4, {}},     {{'T', 'U', 'B', 0}, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.material.data()) + " " + std::to_string(c.param_index));
        EditorFixture f;
        testing::Settings(f.editor).material_code = c.material;
        testing::Settings(f.editor).material_param_index = c.param_index;
        f.editor.OnPreview();
        EXPECT_EQ(f.view.preview_heights, c.heights);
        EXPECT_EQ(f.view.previews, 1);
    }
}

// The strip draws what the grid shows: the open editor is committed first, and the records are
// compiled in the edit form with their check marks and the current row.
TEST(PreviewCommand, CommitsAndCompilesBeforeShowing) {
    EditorFixture f;
    f.AddRows(2);
    testing::Grid(f.editor).SetCellText(0, COL_TEXT, "A1");
    testing::Grid(f.editor).SetCellText(1, COL_TEXT, "B2");
    testing::Grid(f.editor).SetCellText(2, COL_TEXT, "C3");
    testing::Grid(f.editor).SetCheck(2, false);
    f.editor.MakeRowCurrent(1);
    const int commits = f.view.commits;
    f.editor.OnPreview();
    EXPECT_EQ(f.view.commits, commits + 1);
    const model::SegmentNode* n = f.editor.segments().head();
    EXPECT_EQ(text::field_text(n->text), "A1");
    EXPECT_EQ(n->is_current, 0);
    n = n->next;
    EXPECT_EQ(n->is_current, 1);
    EXPECT_EQ(n->enabled, 1);
    n = n->next;
    EXPECT_EQ(text::field_text(n->text), "C3");
    EXPECT_EQ(n->enabled, 0);
    EXPECT_EQ(f.view.previews, 1);
    EXPECT_TRUE(f.prompts.messages.empty());
}

}  // namespace
}  // namespace qvprt::editor

#include "editor/preview_scroll.h"

namespace qvprt::editor {
namespace {

TEST(PreviewScroll, RequestsStayInTheRange) {
    using R = ScrollRequest;
    struct Case {
        const char* name;
        std::int64_t start;
        R request;
        std::int64_t thumb;
        std::int64_t end;  // width 1000, window 800: page 80
    };
    const Case cases[] = {
        {"line right", 10, R::LineRight, 0, 11},
        {"line left", 10, R::LineLeft, 0, 9},
        {"line left at 0 does nothing", 0, R::LineLeft, 0, 0},
        {"line right at the end does nothing", 1000, R::LineRight, 0, 1000},
        {"page right", 100, R::PageRight, 0, 180},
        {"page right past the end does nothing", 950, R::PageRight, 0, 950},
        {"page left past 0 does nothing", 50, R::PageLeft, 0, 50},
        {"to the right end", 3, R::ToRight, 0, 1000},
        {"to the left end", 700, R::ToLeft, 0, 0},
        {"thumb", 0, R::Thumb, 612, 612},
        {"thumb beyond the end", 0, R::Thumb, 5000, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PreviewScroll s;
        s.Set(1000, 800, c.start);
        EXPECT_EQ(s.Apply(c.request, c.thumb), c.start != c.end);
        EXPECT_EQ(s.position(), c.end);
        EXPECT_EQ(s.page(), 80);
    }
}

// A picture of 10^8 copies is wider than the toolkit's int: its end is still reachable.
TEST(PreviewScroll, WiderThanAnIntReachesItsEnd) {
    PreviewScroll s;
    const std::int64_t width = 6'236'000'020;
    s.Set(width, 1920, width - 500);
    EXPECT_GT(s.unit(), 1);
    EXPECT_EQ(s.position(), width - 500);
    EXPECT_LE(static_cast<std::int64_t>(s.BarValue(width)) * s.unit(), width + s.unit());
    EXPECT_TRUE(s.Apply(ScrollRequest::ToRight));
    EXPECT_EQ(s.position(), width);
    EXPECT_EQ(s.FromBar(s.BarValue(width)), width);
    EXPECT_TRUE(s.Apply(ScrollRequest::LineLeft));
    EXPECT_EQ(s.position(), width - s.unit());
    EXPECT_FALSE(s.Apply(ScrollRequest::PageRight));
}

TEST(PreviewAdjuster, FollowsTheMarkerOnlyForAWidePicture) {
    struct Step {
        std::int64_t width, mark, window;
        bool adjusts;
    };
    const Step steps[] = {
        {0, 0, 800, false},                              // not painted yet
        {500, -10, 800, false},                          // fits the window
        {5000, 300, 800, true},                          // wider: follow the marker
        {5000, 300, 800, false},                         // nothing moved
        {5000, 900, 800, true},                          // another row previewed, same width
        {5000, 900, 400, false},                         // a narrower window alone does not scroll
        {6000, 900, 800, true},  {800, 10, 800, false},  // as wide as the window
    };
    PreviewAdjuster a;
    for (const Step& s : steps) {
        EXPECT_EQ(a.Adjust(s.width, s.mark, s.window), s.adjusts) << s.width << " " << s.mark;
    }
    EXPECT_EQ(a.last_width(), 6000);
    EXPECT_EQ(a.last_mark_x(), 900);
}

}  // namespace
}  // namespace qvprt::editor
