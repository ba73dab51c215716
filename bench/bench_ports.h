#pragma once
// Quiet stand-ins for the window, for benchmarks that drive the editor.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/ports.h"

namespace qvprt::bench {

// Answers every question with Yes and cancels every file chooser.
class SilentPrompts : public editor::Prompts {
  public:
    void ShowMessage(std::string_view, std::string_view, editor::MessageIcon) override {}
    bool AskYesNo(std::string_view, std::string_view) override { return true; }
    std::optional<std::string> ChooseOpenFile(const editor::FileChooser&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const editor::FileChooser&) override { return {}; }
};

class NullView : public editor::EditorView {
  public:
    void CommitCellEditor() override {}
    void OpenCellEditor(int, int) override {}
    void PostCall(std::function<void()>) override {}
    void ControlChanged(editor::Control) override {}
    void FocusControl(editor::Control) override {}
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

}  // namespace qvprt::bench
