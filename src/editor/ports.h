#pragma once
// What the editor needs from the outside world. The Qt window implements these; tests and the
// command-line program replace them. All texts are GBK; paths are the platform's own bytes.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/serial_numbers.h"

namespace qvprt::editor {

enum class MessageIcon { None, Information, Exclamation, Question, Error };
enum class Answer { Yes, No, Cancel };

struct FileChooser {
    std::string filter;             // "QVK(*.qvk)|*.qvk|" style: pairs of title and pattern
    std::string initial_name;       // may be empty
    std::string default_extension;  // without the dot; empty for none
    bool confirm_overwrite = false;
    bool must_exist = false;
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
    // Yes answers true.
    virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
    virtual Answer AskYesNoCancel(std::string_view text, std::string_view caption) = 0;
    virtual std::optional<std::string> ChooseOpenFile(const FileChooser& chooser) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileChooser& chooser) = 0;
    // The electrical symbol picker, run modally: on 确定 the symbols collected (GBK, edit form,
    // possibly none), on 取消 nothing.
    virtual std::optional<std::string> ChooseSymbols() = 0;
    // The serial-number dialog, opened with the current record's type and range; nothing on Cancel.
    virtual std::optional<SerialChoice> ChooseSerial(const SerialChoice& current) = 0;
};

// Controls whose state the view mirrors from the editor when the editor reports a change.
enum class Control {
    Material = 1004,
    MaterialParam = 1005,
    Decoration = 1006,
    Spacing = 1007,
    FontSize = 1010,
    Scale = 1011,
    Cut = 1016,
    LengthEdit = 1019,
    RepeatEdit = 1020,
    ExternalFont = 1021,
    LocalFont = 1022,
    Arrangement = 1024,
    Direction = 1025,
    Density = 1026,
    AutoLength = 1027,
    FixedLength = 1028,
    SetLength = 1030,
    CopiesEdit = 1032,
    CurrentOnly = 1039,
    CurrentAndBelow = 1040,
};
inline constexpr Control kAllControls[] = {
    Control::Material,   Control::MaterialParam, Control::Decoration,  Control::Spacing,
    Control::FontSize,   Control::Scale,         Control::Cut,         Control::LengthEdit,
    Control::RepeatEdit, Control::ExternalFont,  Control::LocalFont,   Control::Arrangement,
    Control::Direction,  Control::Density,       Control::AutoLength,  Control::FixedLength,
    Control::SetLength,  Control::CopiesEdit,    Control::CurrentOnly, Control::CurrentAndBelow,
};

class EditorView {
  public:
    virtual ~EditorView() = default;
    // An open cell editor ends and commits (the window moves the keyboard focus to the grid).
    virtual void CommitCellEditor() = 0;
    virtual void OpenCellEditor(int row, int column) = 0;
    // Runs `call` after the current command has returned, as a posted message would.
    virtual void PostCall(std::function<void()> call) = 0;
    // A control's entries, selection, check state, enabled state or text changed from code.
    virtual void ControlChanged(Control control) = 0;
    virtual void FocusControl(Control control) = 0;
    // The job started (true) or stopped differing from the last file opened, saved or written.
    virtual void JobModifiedChanged(bool modified) = 0;

    // The preview strip.
    virtual void SetPreviewHeight(double millimetres) = 0;
    virtual void ShowSegments() = 0;

    // The print status window.
    virtual void SetStatusText(std::string_view text) = 0;
    virtual void ShowStatus() = 0;
    virtual void HideStatus() = 0;
    virtual void CloseStatus() = 0;
    virtual bool StatusExists() = 0;
    virtual void ShowContinueCancel(bool show) = 0;
    virtual void ShowCancelOnly(bool show) = 0;
    virtual int GetAnswer() = 0;
};

}  // namespace qvprt::editor
