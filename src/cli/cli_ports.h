#pragma once
// The window's stand-ins for the command line: message boxes become lines on stderr, questions
// and file choosers are answered from the command line, and the view shows nothing.

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/ports.h"
#include "printing/ch375_driver.h"

namespace qvprt::cli {

// One message box as one UTF-8 line "caption: text". Line breaks inside the text become single
// spaces (trailing ones are dropped), so a message never spans lines and can be matched whole.
std::string message_line(std::string_view gbk_text, std::string_view gbk_caption);

class CliPrompts final : public editor::Prompts {
  public:
    explicit CliPrompts(std::FILE* err) : err_(err) {}

    // Paths handed to the file choosers, in the order the commands ask for them. A chooser
    // with none left is cancelled.
    void QueueFile(std::string path) { files_.push_back(std::move(path)); }

    void ShowMessage(std::string_view text, std::string_view caption,
                     editor::MessageIcon icon) override;
    // Prints the question and answers Yes only to "是否删除当前内容？" (the open command's
    // replace mode); every other question is answered No, which leaves the job as it is.
    bool AskYesNo(std::string_view text, std::string_view caption) override;
    // Nothing is kept between runs, so an unsaved job is left as it is.
    editor::Answer AskYesNoCancel(std::string_view text, std::string_view caption) override;
    std::optional<std::string> ChooseOpenFile(const editor::FileChooser& chooser) override;
    std::optional<std::string> ChooseSaveFile(const editor::FileChooser& chooser) override;
    // No command of the front end runs the picker.
    std::optional<std::string> ChooseSymbols() override { return std::nullopt; }
    // No dialog without a window: the range stays as the file has it.
    std::optional<editor::SerialChoice> ChooseSerial(const editor::SerialChoice&) override {
        return std::nullopt;
    }

  private:
    std::optional<std::string> NextFile();

    std::FILE* err_;
    std::deque<std::string> files_;
};

class CliView final : public editor::EditorView {
  public:
    // With `verbose`, the print status window's texts go to `err` as "status: text".
    CliView(std::FILE* err, bool verbose) : err_(err), verbose_(verbose) {}

    // Runs the calls the last command posted, as the window's message loop would after it.
    void RunPosted();

    void CommitCellEditor() override {}
    void OpenCellEditor(int, int) override {}
    void PostCall(std::function<void()> call) override { posted_.push_back(std::move(call)); }
    void ControlChanged(editor::Control) override {}
    void FocusControl(editor::Control) override {}
    void JobModifiedChanged(bool) override {}
    void SetPreviewHeight(double) override {}
    void ShowSegments() override {}
    void SetStatusText(std::string_view text) override;
    void ShowStatus() override {}
    void HideStatus() override {}
    void CloseStatus() override {}
    bool StatusExists() override { return true; }
    void ShowContinueCancel(bool) override {}
    void ShowCancelOnly(bool) override {}
    int GetAnswer() override { return 0; }

  private:
    std::FILE* err_;
    bool verbose_;
    std::vector<std::function<void()>> posted_;
};

// A driver that forwards to another one, which can be changed. The editor probes at start-up;
// the command line starts it on a quiet stand-in, so that only a print looks for the printer (once,
// as the window does when it started without one).
class ForwardingDriver final : public printing::Ch375Driver {
  public:
    explicit ForwardingDriver(printing::Ch375Driver& target) : target_(&target) {}
    void SetTarget(printing::Ch375Driver& target) { target_ = &target; }

    std::intptr_t CH375OpenDevice(std::uint32_t index) override {
        return target_->CH375OpenDevice(index);
    }
    void CH375CloseDevice(std::uint32_t index) override { target_->CH375CloseDevice(index); }
    int CH375ResetDevice(std::uint32_t index) override { return target_->CH375ResetDevice(index); }
    int CH375ReadData(std::uint32_t index, void* buffer, std::uint32_t* length) override {
        return target_->CH375ReadData(index, buffer, length);
    }
    int CH375WriteData(std::uint32_t index, const void* buffer, std::uint32_t* length) override {
        return target_->CH375WriteData(index, buffer, length);
    }
    std::int32_t CH375QueryBufUpload(std::uint32_t index) override {
        return target_->CH375QueryBufUpload(index);
    }
    std::uint32_t CH375GetUsbID(std::uint32_t index) override {
        return target_->CH375GetUsbID(index);
    }
    printing::OpenFailure last_open_failure() const override {
        return target_->last_open_failure();
    }

  private:
    printing::Ch375Driver* target_;
};

}  // namespace qvprt::cli
