#pragma once
// Scripted stand-ins for the window: every message is recorded (as UTF-8, for readable
// expectations) and every question and file chooser is answered from a script.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/editor_access.h"
#include "editor/ports.h"
#include "printing/clock.h"
#include "printing/sim_printer.h"
#include "text/gbk.h"

namespace qvprt::editor::testing {

struct Shown {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    MessageIcon icon;
    bool operator==(const Shown&) const = default;
};

class FakePrompts : public Prompts {
  public:
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
        messages.push_back({text::gbk_to_utf8(text), text::gbk_to_utf8(caption), icon});
    }
    bool AskYesNo(std::string_view text, std::string_view caption) override {
        questions.push_back(
            {text::gbk_to_utf8(text), text::gbk_to_utf8(caption), MessageIcon::Question});
        if (answers.empty()) {
            unexpected = true;
            return false;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    Answer AskYesNoCancel(std::string_view text, std::string_view caption) override {
        questions.push_back(
            {text::gbk_to_utf8(text), text::gbk_to_utf8(caption), MessageIcon::Question});
        if (three_way.empty()) {
            unexpected = true;
            return Answer::Cancel;
        }
        const Answer a = three_way.front();
        three_way.pop_front();
        return a;
    }
    std::optional<std::string> ChooseOpenFile(const FileChooser& c) override { return Choose(c); }
    std::optional<std::string> ChooseSaveFile(const FileChooser& c) override { return Choose(c); }
    std::optional<std::string> ChooseSymbols() override {
        ++symbol_runs;
        return Next(symbols);
    }
    std::optional<SerialChoice> ChooseSerial(const SerialChoice& current) override {
        serial_shown.push_back(current);
        return Next(serials);
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> v;
        for (const auto& m : messages) {
            v.push_back(m.text);
        }
        return v;
    }

    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::deque<bool> answers;
    std::deque<Answer> three_way;
    std::deque<std::optional<std::string>> files;     // nullopt: the user cancels
    std::deque<std::optional<SerialChoice>> serials;  // the dialog's answers; nullopt: Cancel
    std::vector<SerialChoice> serial_shown;           // what each dialog opened with
    std::vector<FileChooser> choosers;
    std::deque<std::optional<std::string>> symbols;  // the picker's answers; nullopt: 取消
    int symbol_runs = 0;
    bool unexpected = false;  // a question, chooser or picker came without a scripted answer

  private:
    std::optional<std::string> Choose(const FileChooser& c) {
        choosers.push_back(c);
        return Next(files);
    }
    // The next scripted answer; none left is a cancel the test did not expect.
    template <typename T>
    std::optional<T> Next(std::deque<std::optional<T>>& script) {
        if (script.empty()) {
            unexpected = true;
            return std::nullopt;
        }
        auto a = script.front();
        script.pop_front();
        return a;
    }
};

class FakeView : public EditorView {
  public:
    void CommitCellEditor() override { ++commits; }
    void OpenCellEditor(int row, int column) override { opened.push_back({row, column}); }
    void PostCall(std::function<void()> call) override { posted.push_back(std::move(call)); }
    void ControlChanged(Control c) override { changed.push_back(c); }
    void FocusControl(Control c) override { focused.push_back(c); }
    void JobModifiedChanged(bool m) override { modified = m; }
    void SetPreviewHeight(double mm) override { preview_heights.push_back(mm); }
    void ShowSegments() override { ++previews; }
    void SetStatusText(std::string_view t) override { status.push_back(text::gbk_to_utf8(t)); }
    void ShowStatus() override { status.push_back("<show>"); }
    void HideStatus() override { status.push_back("<hide>"); }
    void CloseStatus() override {
        status.push_back("<close>");
        status_exists = false;
    }
    bool StatusExists() override { return status_exists; }
    void ShowContinueCancel(bool s) override { status.push_back(s ? "<both>" : "<none>"); }
    void ShowCancelOnly(bool s) override { status.push_back(s ? "<cancel>" : "<none>"); }
    int GetAnswer() override { return answer; }

    void RunPosted() {
        while (!posted.empty()) {
            auto call = std::move(posted.front());
            posted.erase(posted.begin());
            call();
        }
    }

    int commits = 0;
    std::vector<std::pair<int, int>> opened;
    std::vector<std::function<void()>> posted;
    std::vector<Control> changed;
    std::vector<Control> focused;
    std::vector<double> preview_heights;
    int previews = 0;
    std::vector<std::string> status;
    bool status_exists = true;
    int answer = 0;
    bool modified = false;  // as the title shows it
};

class FakeClock : public printing::Clock {
  public:
    void Sleep(int ms) override { sleeps.push_back(ms); }
    std::vector<int> sleeps;
};

// An editor after start-up, with its fakes and a simulated printer.
struct EditorFixture {
    FakePrompts prompts;
    FakeView view;
    printing::SimPrinter printer;
    FakeClock clock;
    Editor editor{prompts, view, printer, clock};

    // `start` false leaves the start-up to the test, so it can set the printer up first.
    explicit EditorFixture(bool start = true) {
        if (start) {
            editor.Initialize();
        }
    }

    // Cell text as UTF-8.
    std::string Cell(int row, int column) const {
        return text::gbk_to_utf8(editor.grid().GetItemText(row, column));
    }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) {
            editor.AddRow();
        }
    }
    // Types rows of text (UTF-8) into the grid as a user would, each committed.
    void TypeRows(const std::vector<std::string>& texts) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (i > 0) {
                editor.AddRow();
            }
            const int row = static_cast<int>(i);
            editor.OnRowClicked(row, COL_TEXT);
            editor.CommitCell(row, COL_TEXT, text::gbk(texts[i]), false);
        }
    }
};

}  // namespace qvprt::editor::testing
