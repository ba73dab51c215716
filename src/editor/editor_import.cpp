// 32783 "Excel导入" and paste from a spreadsheet: rows of cells written into the grid and its
// records. The file is read and its rows chosen before the first row changes.
#include <string>

#include "editor/Editor.h"
#include "editor/format.h"
#include "editor/import_rows.h"
#include "files/file_messages.h"
#include "files/sheet_reader.h"
#include "layout/measure.h"
#include "printing/job_stream.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace qvprt::editor {

using model::SegmentNode;

SegmentNode* Editor::ImportTarget(int row, ImportCursor& cursor) {
    while (grid_.GetItemCount() < row && grid_.GetItemCount() < model::kMaxRows) {
        NewDefaultRow(grid_.GetItemCount());
    }
    const int index = row - 1;
    if (index >= grid_.GetItemCount()) {
        return nullptr;
    }
    // Rows only go down within one import: walk on from the last one instead of from the head.
    if (cursor.record == nullptr || cursor.index > index) {
        cursor.record = segments_.at(index);
        cursor.index = index;
    }
    while (cursor.index < index) {
        cursor.record = cursor.record->next;
        ++cursor.index;
    }
    return cursor.record;
}

void Editor::write_import_row(SegmentNode& n, int index, const std::string& line1,
                              const std::string& line2, int repeat) {
    grid_.SetCellText(index, COL_TEXT, line1);
    grid_.SetCellText(index, COL_TEXT2, line2);
    grid_.SetCellText(index, COL_REPEAT, std::to_string(repeat));
    model::set_repeat(n, repeat);
    std::string text = line1;
    if (!line2.empty()) {
        text += model::CODE_LINE_BREAK;
        text += line2;
        n.double_line = 1;
        n.auto_font = 0;
        n.font_size = 3;
        grid_.SetCellText(index, COL_FONTSIZE, "3");
    } else {
        n.double_line = 0;
    }
    if (text.size() > static_cast<std::size_t>(model::kMaxTextBytes)) {
        text.resize(model::kMaxTextBytes);  // the plan never gives more
    }
    text::copy_field(n.text, text);
    n.text_length = static_cast<std::uint8_t>(text.size());
    int wide = 0;
    for (char c : text) {
        wide += static_cast<unsigned char>(c) > 0xA0 ? 1 : 0;
    }
    n.wide_char_count = static_cast<std::uint8_t>(wide / 2);

    // Fitted as a typed row would be, in both paths.
    n.char_scale = controls_.external_font ? 2 : 0;
    grid_.SetCellText(index, COL_SCALE, ScaleText(n.char_scale));
    Refit(n);
    layout::MeasureSegment(n, settings_);
}

int Editor::WriteImportRows(const ImportPlan& plan, bool& size_reached) {
    size_reached = false;
    int job_bytes = segments_.empty() ? static_cast<int>(model::kStreamMinBytes)
                                      : printing::encoded_job_size(segments_.head());
    ImportCursor cursor;
    int written = 0;
    SegmentGrid::Batch batch(grid_);
    for (const ImportRow& r : plan.rows) {
        const int rows_before = grid_.GetItemCount();
        SegmentNode* n = ImportTarget(r.row, cursor);
        if (n == nullptr) {
            break;
        }
        const int index = r.row - 1;
        const bool existed = index < rows_before;
        // What the row held, to put back when it brings the job over the printer's limit.
        const SegmentNode old = *n;
        std::array<std::string, kGridColumns> old_cells;
        if (existed) {
            for (int col = COL_CURRENT; col < kGridColumns; ++col) {
                old_cells[col] = grid_.GetItemText(index, col);
            }
        }
        const int old_bytes = printing::encoded_record_size(*n);
        write_import_row(*n, index, r.line1, r.line2, r.repeat);
        job_bytes += printing::encoded_record_size(*n) - old_bytes;
        if (job_bytes >= printing::kMaxJobBytes) {
            size_reached = true;
            if (existed) {
                SegmentNode* prev = n->prev;
                SegmentNode* next = n->next;
                *n = old;
                n->prev = prev;
                n->next = next;
                for (int col = COL_CURRENT; col < kGridColumns; ++col) {
                    grid_.SetCellText(index, col, old_cells[col]);
                }
            }
            while (grid_.GetItemCount() > rows_before) {
                EraseRow(grid_.GetItemCount() - 1);
            }
            break;
        }
        ++written;
    }
    return written;
}

void Editor::ReportImport(const ImportPlan& plan, int written, bool size_reached) {
    if (size_reached) {
        ShowMessage(Format("已经超出最大打印量！已导入%d段，其余未导入。", written), "提示");
    }
    if (overlong_count_ > 0) {
        ShowMessage(Format("共有%d段超长！每段最大长度%d！", overlong_count_, model::kMaxTextBytes),
                    "提示");
    }
    if (plan.refused > 0) {
        ShowMessage(Format("共有%d段含有无法打印的字符（GBK字符集中没有），未导入！", plan.refused),
                    "提示");
    }
    if (plan.past_last_row > 0) {
        ShowMessage(Format("已经到最大行数！另有%d段未导入。", plan.past_last_row), "提示");
    }
}

void Editor::OnExcelImport() {
    last_outcome_ = Outcome::Done;
    FileChooser chooser;
    chooser.filter =
        text::gbk("表格文件(*.xls;*.xlsx;*.ods;*.csv)|*.xls;*.xlsx;*.ods;*.csv|所有文件(*.*)|*.*|");
    chooser.default_extension = "xls";
    chooser.must_exist = true;
    const auto chosen = prompts_.ChooseOpenFile(chooser);
    if (!chosen) {
        last_outcome_ = Outcome::Cancelled;
        return;
    }
    ImportSpreadsheet(*chosen);
}

void Editor::ImportSpreadsheet(const std::string& path) {
    const Step step(*this);
    last_outcome_ = Outcome::Done;
    overlong_count_ = 0;
    view_.ShowContinueCancel(false);
    view_.SetStatusText("");
    view_.ShowStatus();
    view_.SetStatusText(text::gbk("正在导入数据，请稍候..."));

    const files::SheetResult sheet = files::read_sheet(path);
    if (!sheet.ok()) {
        view_.HideStatus();
        last_outcome_ = Outcome::FileError;
        prompts_.ShowMessage(sheet.message, text::gbk("提示"), MessageIcon::Exclamation);
        return;
    }
    const bool csv = sheet.kind == files::SheetKind::Csv;
    const ImportPlan plan =
        plan_import(sheet.sheet.rows, csv ? ImportPath::Csv : ImportPath::Workbook);
    overlong_count_ = plan.overlong;
    if (plan.rows.empty()) {
        view_.HideStatus();
        last_outcome_ = Outcome::FileError;
        prompts_.ShowMessage(
            files::gbk_for_message("文件“" + path + "”中没有可导入的行，未做任何改动。"),
            text::gbk("提示"), MessageIcon::Exclamation);
        ReportImport(plan, 0, false);
        return;
    }

    // An open cell editor ends first, so that its text cannot land on an imported row.
    view_.CommitCellEditor();
    if (csv) {
        ClearRows();
        current_row_ = -1;
    }
    bool size_reached = false;
    const int written = WriteImportRows(plan, size_reached);
    if (grid_.GetItemCount() == 0) {
        NewDefaultRow(0);  // the first row alone reached the limit
    }
    MakeRowCurrent(0);
    view_.HideStatus();
    if (size_reached) {
        last_outcome_ = Outcome::Refused;
    }
    ReportImport(plan, written, size_reached);
}

void Editor::PasteValue(const std::string& utf8) {
    const int row = current_row_;
    if (row < 0) {
        return;
    }
    text::EncodeResult gbk = text::utf8_to_gbk(sanitize_cell_text(utf8));
    if (!gbk.ok) {
        OnCellTextRefused(row, COL_TEXT);
        return;
    }
    const std::string old = grid_.GetItemText(row, COL_TEXT);
    CommitCell(row, COL_TEXT, gbk.bytes, false);
    // A refused commit leaves the record as it was; the cell must not show what it refused.
    std::string stored = gbk.bytes;
    if (const std::string& second = grid_.GetItemText(row, COL_TEXT2); !second.empty()) {
        stored += model::CODE_LINE_BREAK;
        stored += second;
    }
    if (current_segment_ != nullptr && text::field_text(current_segment_->text) != stored) {
        grid_.SetCellText(row, COL_TEXT, old);
    }
}

void Editor::PasteText(std::string_view utf8) {
    const Step step(*this);
    last_outcome_ = Outcome::Done;
    if (!is_cell_range(utf8)) {
        PasteValue(single_value(utf8));
        return;
    }
    view_.CommitCellEditor();
    overlong_count_ = 0;
    const int first = current_row_ < 0 ? 1 : current_row_ + 1;
    const ImportPlan plan =
        plan_import(parse_clipboard_rows(utf8), ImportPath::Workbook, first, model::kMaxRows);
    overlong_count_ = plan.overlong;
    bool size_reached = false;
    const int written = WriteImportRows(plan, size_reached);
    MakeRowCurrent(first - 1);
    if (size_reached) {
        last_outcome_ = Outcome::Refused;
    }
    ReportImport(plan, written, size_reached);
}

}  // namespace qvprt::editor
