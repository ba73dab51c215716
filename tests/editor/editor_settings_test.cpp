#include <gtest/gtest.h>

#include "fake_ports.h"

namespace qvprt::editor {
namespace {

using testing::EditorFixture;

class SettingsTest : public ::testing::Test, public EditorFixture {};

TEST_F(SettingsTest, MaterialRefillsTheParameterBoxAndTellsThePreview) {
    editor.AddRow();
    editor.AddRow();
    editor.OnRowClicked(0, COL_TEXT);
    editor.OnMaterialChanged(1);
    EXPECT_EQ(editor.controls().material_param.entries,
              (std::vector<std::string>{"6 mm", "9 mm", "12mm"}));
    EXPECT_EQ(editor.controls().material_param.selection, 1);
    EXPECT_EQ(view.preview_heights, (std::vector<double>{9.0}));
    for (auto* n = testing::Records(editor).head(); n; n = n->next) {
        EXPECT_EQ(n->material[0], 'L');
        EXPECT_EQ(n->material_param[0], '9');
    }
    editor.OnMaterialParamChanged(2);
    EXPECT_EQ(std::string(editor.segments().head()->next->next->material_param.data(), 2), "12");
}

TEST_F(SettingsTest, CopiesOutOfRangeIsResetToOne) {
    struct Case {
        const char* text;
        int copies;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"0", 1, {"打印份数应在[1-20]之间！"}},
        {"21", 1, {"打印份数应在[1-20]之间！"}},
        {"20", 20, {}},
        {"7", 7, {}},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        testing::Settings(f.editor).copies = 5;
        f.editor.OnCopiesChanged(c.text);
        EXPECT_EQ(f.editor.settings().copies, c.copies) << c.text;
        EXPECT_EQ(f.prompts.Texts(), c.messages) << c.text;
        if (!c.messages.empty()) {
            EXPECT_EQ(f.prompts.messages[0].caption, "提示");
            EXPECT_EQ(f.editor.controls().copies_edit_text, "1");
        }
    }
}

TEST_F(SettingsTest, EditsAreReadAsABlockInOrder) {
    struct Case {
        const char* length;
        const char* repeat;
        const char* copies;
        bool ok;
        Control focus;
        int length_value, repeat_value;
    };
    const Case cases[] = {
        {"30", "4", "2", true, Control::LengthEdit, 30, 4},
        {" 30", "+4", "2", true, Control::LengthEdit, 30, 4},
        {"", "4", "2", false, Control::LengthEdit, 20, 1},
        {"30", "x", "2", false, Control::RepeatEdit, 30, 1},
        {"30", "4", "", false, Control::CopiesEdit, 30, 4},
        {"30 ", "4", "2", false, Control::LengthEdit, 20, 1},
        {"99999999999", "4", "2", false, Control::LengthEdit, 20, 1},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        testing::ControlsOf(f.editor).length_edit_text = c.length;
        testing::ControlsOf(f.editor).repeat_edit_text = c.repeat;
        testing::ControlsOf(f.editor).copies_edit_text = c.copies;
        EXPECT_EQ(f.editor.ReadEdits(), c.ok);
        EXPECT_EQ(f.editor.length_edit_value(), c.length_value);
        EXPECT_EQ(f.editor.repeat_edit_value(), c.repeat_value);
        if (!c.ok) {
            ASSERT_EQ(f.prompts.messages.size(), 1u);
            EXPECT_EQ(f.prompts.messages[0].text, "请键入一个整数。");
            EXPECT_EQ(f.prompts.messages[0].caption, "QvprtTest");
            EXPECT_EQ(f.view.focused, (std::vector<Control>{c.focus}));
        }
    }
}

TEST_F(SettingsTest, RefusedExitLeavesEverythingWorking) {
    ASSERT_TRUE(testing::Link(editor).open());
    testing::ControlsOf(editor).length_edit_text = "abc";
    EXPECT_FALSE(editor.OnExit());
    EXPECT_TRUE(view.status_exists);
    EXPECT_TRUE(editor.printer_link().is_open());
    testing::ControlsOf(editor).length_edit_text = "20";
    EXPECT_TRUE(editor.OnExit());
    EXPECT_FALSE(view.status_exists);
    EXPECT_FALSE(editor.printer_link().is_open());
}

TEST_F(SettingsTest, BoxPositions) {
    editor.OnDensityChanged(9);
    EXPECT_EQ(editor.settings().density, 10);
    editor.OnCutChanged(2);
    EXPECT_EQ(editor.settings().cut_mode, 'L');
    editor.OnSpacingChanged(3);
    EXPECT_EQ(editor.settings().spacing, 3);
    editor.OnArrangementChanged(1);
    EXPECT_EQ(editor.settings().arrangement, 1);
}

}  // namespace
}  // namespace qvprt::editor
