#include <gtest/gtest.h>

#include "fake_ports.h"
#include "text/bytes.h"

namespace qvprt::editor {
namespace {

using model::SegmentNode;
using testing::EditorFixture;

class AttributesTest : public ::testing::Test, public EditorFixture {
  protected:
    // `count` rows; row `current` current.
    void Rows(int count, int current) {
        AddRows(count - 1);
        editor.OnRowClicked(current, COL_NUMBER);
    }
    SegmentNode& Record(int i) { return *testing::Records(editor).at(i); }
    // A fixed font size and a text, typed into the row's cell too.
    void SetText(int row, const std::string& text, int font_size) {
        SegmentNode& n = Record(row);
        text::copy_field(n.text, text);
        n.text_length = static_cast<std::uint8_t>(text.size());
        n.auto_font = font_size == 0 ? 1 : 0;
        n.font_size = static_cast<std::uint8_t>(font_size);
        testing::Grid(editor).SetCellText(row, COL_TEXT, text);
    }
    std::vector<char> Decorations() {
        std::vector<char> v;
        for (SegmentNode* n = testing::Records(editor).head(); n; n = n->next) {
            v.push_back(n->decoration);
        }
        return v;
    }
};

TEST_F(AttributesTest, ScopeWalk) {
    struct Case {
        bool current_only;
        std::vector<char> decorations;
    };
    const Case cases[] = {{true, {'N', 'N', 'F', 'N', 'N'}}, {false, {'N', 'N', 'F', 'F', 'F'}}};
    for (const Case& c : cases) {
        EditorFixture f;
        f.AddRows(4);
        f.editor.OnRowClicked(2, COL_NUMBER);
        f.editor.OnScopeChanged(c.current_only);
        f.editor.OnDecorationChanged(1);
        std::vector<char> got;
        int row = 0;
        for (SegmentNode* n = testing::Records(f.editor).head(); n; n = n->next, ++row) {
            got.push_back(n->decoration);
            EXPECT_EQ(f.Cell(row, COL_DECORATION), n->decoration == 'F' ? "边框" : "无修饰");
        }
        EXPECT_EQ(got, c.decorations);
        EXPECT_EQ(f.editor.settings().default_decoration, 'F');
    }
}

TEST_F(AttributesTest, SetLengthRange) {
    struct Case {
        const char* text;
        bool accepted;
    };
    for (const Case c :
         {Case{"5", false}, Case{"151", false}, Case{"6", true}, Case{"150", true}}) {
        EditorFixture f;
        f.editor.OnEditTextChanged(Control::LengthEdit, c.text);
        f.editor.OnSetLength();
        const int mm = std::atoi(c.text);
        if (c.accepted) {
            EXPECT_TRUE(f.prompts.messages.empty()) << c.text;
            EXPECT_EQ(f.editor.segments().head()->length_dots, mm * 12);
            EXPECT_EQ(f.editor.segments().head()->feed_dots, mm * 12);
            EXPECT_EQ(f.editor.settings().default_length_mm, mm);
        } else {
            ASSERT_EQ(f.prompts.messages.size(), 1u) << c.text;
            EXPECT_EQ(f.prompts.messages[0].text, "输入段长值应在(6-150)之间!");
            EXPECT_EQ(f.prompts.messages[0].caption, "Prompt");
            EXPECT_EQ(f.editor.controls().length_edit_text, "20");
            EXPECT_EQ(f.editor.segments().head()->length_dots, 240);
        }
    }
}

TEST_F(AttributesTest, SetLengthKeepsSegmentsThatWouldOverflow) {
    // 10 mm is 120 dots: a widest line of 80 dots needs 128, one of 72 needs 120.
    Rows(2, 0);
    SetText(0, "ABCDE", 1);  // 5 x 16 = 80
    SetText(1, "ABC", 2);    // 3 x 24 = 72
    editor.OnEditTextChanged(Control::LengthEdit, "10");
    editor.OnSetLength();
    EXPECT_EQ(Record(0).length_dots, 240);
    EXPECT_EQ(Record(1).length_dots, 120);
    EXPECT_EQ(Record(1).feed_dots, 120);
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"共有{1}段超长，设定段长无效！"}));
}

TEST_F(AttributesTest, AutoLengthSkipsAutomaticFontSizes) {
    Rows(2, 0);
    SetText(0, "AB", 0);
    SetText(1, "AB", 2);
    editor.OnAutoLength();
    EXPECT_EQ(Record(0).auto_length, 0);
    EXPECT_EQ(Record(1).auto_length, 1);
    EXPECT_EQ(text::field_text(Record(1).length_text), "Au");
    EXPECT_EQ(prompts.Texts(),
              (std::vector<std::string>{"共有{1}段字号已设为自动字号,不能再设自动段长！"}));
    EXPECT_FALSE(editor.controls().length_edit_enabled);
    EXPECT_FALSE(editor.controls().set_length_enabled);
    EXPECT_EQ(editor.settings().default_auto_length, 1);
}

TEST_F(AttributesTest, FontSizeAboveTheMaterialsLargest) {
    Rows(3, 0);
    editor.OnMaterialParamChanged(0);  // tube 3.0: largest size 5
    editor.OnFontSizeChanged(6);
    EXPECT_EQ(editor.controls().font_size.selection, 5);
    EXPECT_EQ(editor.settings().default_font_size, 6);
    EXPECT_EQ(prompts.Texts(),
              (std::vector<std::string>{"共有{3}段所选字号超出材料范围，请选择其它字号！\r\n"}));
    EXPECT_EQ(Record(0).font_size, 0);
}

TEST_F(AttributesTest, FontSizeOnDoubleLineAndOverlong) {
    Rows(3, 0);
    SetText(0,
            "A\x1a"
            "B",
            2);
    Record(0).double_line = 1;
    SetText(1, "ABCDEFGHIJ", 1);  // 10 x 32 + 48 > 240 at size 3
    SetText(2, "AB", 1);
    editor.OnFontSizeChanged(4);
    EXPECT_EQ(prompts.Texts(),
              (std::vector<std::string>{"共有{1}段所选字号不适合双行，请选择其它字号！\r\n"
                                        "共有{1}段超长，请选择其它字号！\r\n"}));
    EXPECT_EQ(Record(0).font_size, 2);
    EXPECT_EQ(Record(1).font_size, 1);
    EXPECT_EQ(Record(2).font_size, 4);
    EXPECT_EQ(Cell(2, COL_FONTSIZE), "4");
    prompts.messages.clear();
    editor.OnFontSizeChanged(3);
    EXPECT_EQ(Record(0).font_size, 3);
}

TEST_F(AttributesTest, AutomaticFontSizeShowsZeroAndFits) {
    Rows(2, 0);
    SetText(0, "ABC", 2);
    SetText(1, "AB", 2);
    Record(1).auto_length = 1;
    editor.OnFontSizeChanged(0);
    EXPECT_EQ(Cell(0, COL_FONTSIZE), "0");
    EXPECT_EQ(Record(0).auto_font, 1);
    EXPECT_EQ(Record(0).font_size, 6);  // 3 x 64 + 48 = 240 fits 20 mm
    EXPECT_EQ(Record(1).font_size, 2);
    EXPECT_EQ(prompts.Texts(),
              (std::vector<std::string>{"共有{1}段设定为自动段长，不能再设置为自动字号！\r\n"}));
}

TEST_F(AttributesTest, DirectionThatWouldOverflowIsRefused) {
    Rows(2, 0);
    editor.OnSpacingChanged(20);
    SetText(0, "\xb0\xa1", 0);  // fits either way
    // Horizontal: X + one script pair at size 5 = 48 + 27 = 75; vertical: 96 + 20 spacing.
    SetText(1,
            "X\x1c"
            "2",
            5);
    Record(1).script_count = 1;
    Record(1).length_dots = Record(1).feed_dots = 156;  // 13 mm: 75 + 48 fits, 116 + 48 not
    editor.OnDirectionChanged(1);
    EXPECT_EQ(Record(0).direction, (std::array<char, 2>{'1', '3'}));
    EXPECT_EQ(Record(1).direction, (std::array<char, 2>{'0', '4'}));
    EXPECT_EQ(Cell(0, COL_DIRECTION), "竖向打印");
    EXPECT_EQ(Cell(1, COL_DIRECTION), "横向打印");
    EXPECT_EQ(prompts.Texts(),
              (std::vector<std::string>{"共有{1}段超长,方向设置对其无效,请重新设置！"}));
}

TEST_F(AttributesTest, RepeatAndScale) {
    Rows(2, 0);
    editor.OnEditTextChanged(Control::RepeatEdit, "101");
    editor.OnSetRepeat();
    EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{"重复次数应在[1-100]之间！"}));
    EXPECT_EQ(editor.controls().repeat_edit_text, "1");
    editor.OnEditTextChanged(Control::RepeatEdit, "12");
    editor.OnSetRepeat();
    EXPECT_EQ(Record(1).repeat, 12);
    EXPECT_EQ(text::field_text(Record(1).repeat_text4), "0012");
    EXPECT_EQ(Cell(1, COL_REPEAT), "12");
    EXPECT_EQ(editor.settings().default_repeat, 12);
    editor.OnScaleChanged(1);
    EXPECT_EQ(Cell(0, COL_SCALE), "50%");
    EXPECT_EQ(Record(1).char_scale, 1);
}

TEST_F(AttributesTest, FontLibraryAppliesToEveryRow) {
    Rows(3, 2);
    editor.OnScopeChanged(true);
    editor.OnScaleChanged(1);
    editor.OnExternalFontLibrary();
    EXPECT_FALSE(editor.controls().scale.enabled);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Cell(i, COL_SCALE), "out");
        EXPECT_EQ(Record(i).char_scale, 2);
    }
    editor.OnLocalFontLibrary();
    EXPECT_TRUE(editor.controls().scale.enabled);
    EXPECT_EQ(editor.controls().scale.selection, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Cell(i, COL_SCALE), "100%");
    }
}

}  // namespace
}  // namespace qvprt::editor
