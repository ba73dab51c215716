// The file commands: save a project, open a project or U-disk print file, write a U-disk print
// file. Readers and writers never touch the open job; only a whole, good file changes it.
#include <cstdio>
#include <string>

#include "editor/Editor.h"
#include "files/file_messages.h"
#include "files/file_names.h"
#include "files/job_file.h"
#include "files/project_file.h"
#include "files/safe_write.h"
#include "layout/segment_text.h"
#include "printing/udisk_file.h"
#include "text/gbk.h"

namespace qvprt::editor {

using model::SegmentNode;

// Serial codes become "№", the line break moves on to the second cell, the printer's script codes
// become the marks.
std::pair<std::string, std::string> Editor::CellsFromRecordText(const SegmentNode& n) {
    std::string first, second;
    std::string* out = &first;
    const std::size_t len = std::min<std::size_t>(n.text_length, model::kMaxTextBytes);
    for (std::size_t i = 0; i < len; ++i) {
        const char c = n.text[i];
        switch (c) {
            case model::CODE_SERIAL_NATURAL:
            case model::CODE_SERIAL_PADDED:
            case model::CODE_SERIAL_UPPER:
            case model::CODE_SERIAL_LOWER:
                out->append(model::MARK_SERIAL);
                break;
            case model::CODE_LINE_BREAK:
                out = &second;
                break;
            case model::CODE_SUPERSCRIPT:
                out->append(model::MARK_SUPERSCRIPT);
                break;
            case model::CODE_SUBSCRIPT:
                out->append(model::MARK_SUBSCRIPT);
                break;
            default:
                out->push_back(c);
                break;
        }
    }
    return {first, second};
}

std::optional<std::string> Editor::ChooseSaveTarget(const char* filter, const char* initial_name) {
    last_outcome_ = Outcome::Done;
    FileChooser chooser;
    chooser.filter = filter;
    chooser.initial_name = initial_name;
    chooser.confirm_overwrite = true;
    auto chosen = prompts_.ChooseSaveFile(chooser);
    if (!chosen) {
        last_outcome_ = Outcome::Cancelled;
        return chosen;
    }
    view_.CommitCellEditor();
    CompileSegments(true);
    return chosen;
}

bool Editor::ReportWrite(const files::WriteResult& r) {
    if (!r.ok) {
        last_outcome_ = Outcome::FileError;
        prompts_.ShowMessage(r.message, text::gbk("提示"), MessageIcon::Exclamation);
    }
    return r.ok;
}

void Editor::SaveProjectFile() {
    const auto chosen = ChooseSaveTarget("QVK(*.qvk)|*.qvk|", "QVark.qvk");
    if (!chosen) {
        return;
    }
    const std::string path = files::project_file_path(*chosen);
    if (ReportWrite(files::save_project_file(path, settings_, segments_.head()))) {
        MarkSaved();
    }
    ReportCutRows();
}

void Editor::SaveUdiskFile() {
    const auto chosen = ChooseSaveTarget("QVU(*.qvu)|*.qvu|", "QVark");
    if (!chosen) {
        return;
    }
    const std::string path = files::udisk_file_path(*chosen);
    CompileSegments(false);
    const std::vector<std::uint8_t> bytes =
        printing::encode_udisk_file(settings_, segments_.head());
    if (bytes.empty()) {
        // Nothing to print: a file of that name keeps what it holds, and none is made.
        last_outcome_ = Outcome::Refused;
        ShowMessage("没有选择（或录入）打印内容！", "提示");
    } else if (ReportWrite(files::write_file_safely(path, bytes))) {
        MarkSaved();
    }
    ReportCutRows();
}

void Editor::ReportCutRows() {
    if (cut_count_ > 0) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "共有%d段超长！每段最大长度%d！", cut_count_,
                      model::kMaxTextBytes);
        ShowMessage(buf, "提示");
    }
}

void Editor::ApplyFileSettings(const files::ReadResult& file) {
    const files::FileJobSettings& fs = file.settings;
    settings_.spacing = fs.spacing;
    SelectEntry(controls_.spacing, Control::Spacing, fs.spacing);
    settings_.density = fs.density;
    SelectEntry(controls_.density, Control::Density, fs.density - 1);
    settings_.cut_mode = fs.cut_mode;
    // The readers take only the box's codes.
    if (const int cut = model::kCutModes.position_of(fs.cut_mode); cut >= 0) {
        SelectEntry(controls_.cut, Control::Cut, cut);
    }
    settings_.arrangement = fs.arrangement;
    SelectEntry(controls_.arrangement, Control::Arrangement, fs.arrangement);
    if (fs.material_index) {
        const int m = *fs.material_index;
        settings_.material_index = m;
        SelectEntry(controls_.material, Control::Material, m);
        if (model::has_material_position(m)) {
            controls_.material_param.entries = model::material_param_entries(m);
            view_.ControlChanged(Control::MaterialParam);
        }
        // Rows added after the open copy the material the boxes show.
        model::JobSettings chosen = settings_;
        model::select_material(chosen, nullptr, m);
        settings_.material_code = chosen.material_code;
        settings_.material_param = chosen.material_param;
    }
    if (fs.material_param_index) {
        const int p = *fs.material_param_index;
        settings_.material_param_index = p;
        SelectEntry(controls_.material_param, Control::MaterialParam, p);
        model::JobSettings chosen = settings_;
        model::select_material_param(chosen, nullptr, p);
        settings_.material_param = chosen.material_param;
    }
    if (fs.copies) {
        settings_.copies = *fs.copies;
        copies_edit_value_ = *fs.copies;
        WriteEdits();
    }
    if (file.external_font) {
        controls_.scale.enabled = false;
        controls_.external_font = true;
        controls_.local_font = false;
        view_.ControlChanged(Control::Scale);
        view_.ControlChanged(Control::ExternalFont);
        view_.ControlChanged(Control::LocalFont);
    }
}

void Editor::OpenFile() {
    const Step step(*this);
    last_outcome_ = Outcome::Done;
    FileChooser chooser;
    chooser.filter = "QVU(*.qvu)|*.qvu|QVK(*.qvk)|*.qvk|";
    chooser.default_extension = "qvu";
    chooser.must_exist = true;
    const auto chosen = prompts_.ChooseOpenFile(chooser);
    if (!chosen) {
        last_outcome_ = Outcome::Cancelled;
        return;
    }
    bool replace = true;
    if (segments_.size() > 1 || (!segments_.empty() && segments_.head()->text_length != 0)) {
        replace = prompts_.AskYesNo(text::gbk("是否删除当前内容？"), text::gbk("提示"));
    }
    // The file is read whole before anything of the open job changes.
    files::ReadResult file = files::read_job_file(*chosen, settings_);
    if (!file.ok()) {
        last_outcome_ = Outcome::FileError;
        prompts_.ShowMessage(file.message, text::gbk("提示"), MessageIcon::Exclamation);
        return;
    }
    if (file.records.empty()) {
        last_outcome_ = Outcome::FileError;
        prompts_.ShowMessage(
            files::gbk_for_message("文件“" + *chosen + "”中没有任何段，未读入任何内容。"),
            text::gbk("提示"), MessageIcon::Exclamation);
        return;
    }
    // The grid holds at most kMaxRows rows: an append that would pass them changes nothing.
    const int existing = replace ? 0 : grid_.GetItemCount();
    if (existing + file.records.size() > model::kMaxRows) {
        last_outcome_ = Outcome::Refused;
        prompts_.ShowMessage(
            files::gbk_for_message("文件“" + *chosen + "”的段数与当前内容合计超过" +
                                   std::to_string(model::kMaxRows) +
                                   "段，无法追加，未读入任何内容。"),
            text::gbk("提示"), MessageIcon::Exclamation);
        return;
    }

    if (replace) {
        ClearRows();
        current_row_ = -1;
    }
    ApplyFileSettings(file);

    // Fill the grid rows of the records read.
    SegmentGrid::Batch batch(grid_);
    int n = grid_.GetItemCount();
    if (n > 0) {
        MakeRowCurrent(n - 1);
    }
    n = AppendRows(std::move(file.records));
    for (SegmentNode* r = segments_.at(n); n < grid_.GetItemCount(); r = r->next, ++n) {
        current_segment_ = r;
        const auto [first, second] = CellsFromRecordText(*r);
        grid_.SetCellText(n, COL_TEXT, first);
        if (!second.empty()) {
            grid_.SetCellText(n, COL_TEXT2, second);
        }
        FillRowCells(n, *r);
        grid_.SetCheck(n, true);
        grid_.SetCurrentColumn(COL_TEXT);
    }
    MakeRowCurrent(0);
    if (replace) {
        MarkSaved();
    }
}

}  // namespace qvprt::editor
