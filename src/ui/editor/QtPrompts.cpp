#include "ui/editor/QtPrompts.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/aids/Dqfh.h"
#include "ui/aids/NumSet.h"
#include "ui/qt_text.h"

namespace qvprt::ui {

namespace {

QMessageBox::Icon ToQt(editor::MessageIcon icon) {
    switch (icon) {
        case editor::MessageIcon::Information:
            return QMessageBox::Information;
        case editor::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case editor::MessageIcon::Question:
            return QMessageBox::Question;
        case editor::MessageIcon::Error:
            return QMessageBox::Critical;
        case editor::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// "Title(*.ext)|*.ext|" pairs to Qt's name filters.
QStringList NameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            continue;
        }
        QString name = parts[i].contains(QLatin1Char('('))
                           ? parts[i]
                           : parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        // Qt separates the patterns of one filter by spaces, where the texts use semicolons.
        out << name.replace(QLatin1Char(';'), QLatin1Char(' '));
    }
    return out;
}

}  // namespace

void QtPrompts::ShowMessage(std::string_view text, std::string_view caption,
                            editor::MessageIcon icon) {
    QMessageBox box(ToQt(icon), FromGbk(caption), FromGbk(text), QMessageBox::NoButton, owner_);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtPrompts::AskYesNo(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Question, FromGbk(caption), FromGbk(text), QMessageBox::NoButton,
                    owner_);
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

editor::Answer QtPrompts::AskYesNoCancel(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Question, FromGbk(caption), FromGbk(text), QMessageBox::NoButton,
                    owner_);
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) {
        return editor::Answer::Yes;
    }
    return box.clickedButton() == no ? editor::Answer::No : editor::Answer::Cancel;
}

std::optional<std::string> QtPrompts::Choose(const editor::FileChooser& c, bool save) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(c.must_exist || !save ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(FromGbk(c.filter)));
    if (!c.default_extension.empty()) {
        dialog.setDefaultSuffix(FromGbk(c.default_extension));
    }
    if (!c.initial_name.empty()) {
        dialog.selectFile(FromGbk(c.initial_name));
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !c.confirm_overwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

std::optional<std::string> QtPrompts::ChooseOpenFile(const editor::FileChooser& chooser) {
    return Choose(chooser, false);
}

std::optional<std::string> QtPrompts::ChooseSaveFile(const editor::FileChooser& chooser) {
    return Choose(chooser, true);
}

std::optional<std::string> QtPrompts::ChooseSymbols() {
    // A new picker each time, so nothing is left over from the last run.
    CDqfh picker(owner_);
    if (picker.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return picker.symbols();
}

std::optional<editor::SerialChoice> QtPrompts::ChooseSerial(const editor::SerialChoice& current) {
    CNumSet dialog(current, owner_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.choice();
}

}  // namespace qvprt::ui
