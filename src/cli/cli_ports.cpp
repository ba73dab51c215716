#include "cli/cli_ports.h"

#include "text/gbk.h"

namespace qvprt::cli {

namespace {

std::string OneLine(std::string_view gbk_text) {
    std::string utf8 = text::gbk_to_utf8(gbk_text);
    std::string line;
    bool pending_break = false;
    for (const char c : utf8) {
        if (c == '\r' || c == '\n') {
            pending_break = true;
            continue;
        }
        if (pending_break && !line.empty()) {
            line += ' ';
        }
        pending_break = false;
        line += c;
    }
    return line;
}

}  // namespace

std::string message_line(std::string_view gbk_text, std::string_view gbk_caption) {
    return OneLine(gbk_caption) + ": " + OneLine(gbk_text);
}

void CliPrompts::ShowMessage(std::string_view text, std::string_view caption, editor::MessageIcon) {
    std::fprintf(err_, "%s\n", message_line(text, caption).c_str());
}

bool CliPrompts::AskYesNo(std::string_view text, std::string_view caption) {
    std::fprintf(err_, "%s\n", message_line(text, caption).c_str());
    return text == text::gbk("是否删除当前内容？");
}

editor::Answer CliPrompts::AskYesNoCancel(std::string_view text, std::string_view caption) {
    std::fprintf(err_, "%s\n", message_line(text, caption).c_str());
    return editor::Answer::No;
}

std::optional<std::string> CliPrompts::NextFile() {
    if (files_.empty()) {
        return std::nullopt;
    }
    std::string path = std::move(files_.front());
    files_.pop_front();
    return path;
}

std::optional<std::string> CliPrompts::ChooseOpenFile(const editor::FileChooser&) {
    return NextFile();
}

std::optional<std::string> CliPrompts::ChooseSaveFile(const editor::FileChooser&) {
    return NextFile();
}

void CliView::RunPosted() {
    while (!posted_.empty()) {
        auto call = std::move(posted_.front());
        posted_.erase(posted_.begin());
        call();
    }
}

void CliView::SetStatusText(std::string_view text) {
    if (verbose_ && !text.empty()) {
        std::fprintf(err_, "status: %s\n", text::gbk_to_utf8(text).c_str());
    }
}

}  // namespace qvprt::cli
