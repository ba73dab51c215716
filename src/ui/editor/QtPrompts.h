#pragma once
// The editor's prompts as Qt message boxes and file dialogs.

#include "editor/ports.h"

class QWidget;

namespace qvprt::ui {

class QtPrompts : public editor::Prompts {
  public:
    explicit QtPrompts(QWidget* owner) : owner_(owner) {}

    void ShowMessage(std::string_view text, std::string_view caption,
                     editor::MessageIcon icon) override;
    bool AskYesNo(std::string_view text, std::string_view caption) override;
    editor::Answer AskYesNoCancel(std::string_view text, std::string_view caption) override;
    std::optional<std::string> ChooseOpenFile(const editor::FileChooser& chooser) override;
    std::optional<std::string> ChooseSaveFile(const editor::FileChooser& chooser) override;
    std::optional<std::string> ChooseSymbols() override;
    std::optional<editor::SerialChoice> ChooseSerial(const editor::SerialChoice& current) override;

  private:
    std::optional<std::string> Choose(const editor::FileChooser& chooser, bool save);

    QWidget* owner_;
};

}  // namespace qvprt::ui
