#pragma once
// Quiet stand-ins for the window, for benchmarks that drive the editor.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "editor/Editor.h"
#include "editor/editor_access.h"
#include "editor/ports.h"
#include "printing/clock.h"
#include "text/bytes.h"

namespace qvprt::bench {

// Answers every question with Yes and cancels every file chooser and the symbol picker.
class SilentPrompts : public editor::Prompts {
  public:
    void ShowMessage(std::string_view, std::string_view, editor::MessageIcon) override {}
    bool AskYesNo(std::string_view, std::string_view) override { return true; }
    editor::Answer AskYesNoCancel(std::string_view, std::string_view) override {
        return editor::Answer::No;
    }
    std::optional<std::string> ChooseOpenFile(const editor::FileChooser&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const editor::FileChooser&) override { return {}; }
    std::optional<std::string> ChooseSymbols() override { return {}; }
    std::optional<editor::SerialChoice> ChooseSerial(const editor::SerialChoice&) override {
        return {};
    }
};

// Answers Yes, and every file chooser with the one file.
class FilePrompts : public SilentPrompts {
  public:
    explicit FilePrompts(std::string file) : file_(std::move(file)) {}
    std::optional<std::string> ChooseOpenFile(const editor::FileChooser&) override { return file_; }
    std::optional<std::string> ChooseSaveFile(const editor::FileChooser&) override { return file_; }

  private:
    std::string file_;
};

class NoClock : public printing::Clock {
  public:
    void Sleep(int) override {}
};

class NullView : public editor::EditorView {
  public:
    void CommitCellEditor() override {}
    void OpenCellEditor(int, int) override {}
    void PostCall(std::function<void()>) override {}
    void ControlChanged(editor::Control) override {}
    void FocusControl(editor::Control) override {}
    void JobModifiedChanged(bool) override {}
    void SetPreviewHeight(double) override {}
    void ShowSegments() override {}
    void SetStatusText(std::string_view) override {}
    void ShowStatus() override {}
    void HideStatus() override {}
    void CloseStatus() override {}
    bool StatusExists() override { return false; }
    void ShowContinueCancel(bool) override {}
    void ShowCancelOnly(bool) override {}
    int GetAnswer() override { return 0; }
};

// `rows` rows of 50-byte texts, each repeated; with `serial`, numbered 0..999 as well (1000 rows
// x repeat 100 x serial make 10^8 copies).
inline void FillRows(editor::Editor& editor, int rows, int repeat, bool serial) {
    for (int r = 0; r < rows; ++r) {
        if (r > 0) {
            editor.AddRow();
        }
        std::string t = "L" + std::to_string(r) + "-";
        t.resize(serial ? 46 : 50, 'A');
        if (serial) {
            t += "\xa1\xed";  // "№"
        }
        editor::testing::Grid(editor).SetCellText(r, editor::COL_TEXT, t);
        model::SegmentNode& n = *editor::testing::Records(editor).at(r);
        n.auto_length = 1;
        n.font_size = 3;
        model::set_repeat(n, repeat);
        if (serial) {
            n.has_serial = 1;
            n.serial_natural = 1;
            text::copy_field(n.serial_start, "0");
            text::copy_field(n.serial_end, "999");
        }
    }
    editor.MakeRowCurrent(rows / 2);
}

}  // namespace qvprt::bench
