#pragma once
// The main window's state and behaviour, without any widget toolkit. The window owns one Editor,
// turns widget events into calls of it and mirrors its state back into the widgets.

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/SegmentGrid.h"
#include "editor/import_rows.h"
#include "editor/ports.h"
#include "editor/serial_numbers.h"
#include "model/job_settings.h"
#include "model/segment_list.h"
#include "printing/SerialPort.h"
#include "printing/ch375_driver.h"
#include "printing/clock.h"

namespace qvprt::files {
struct ReadResult;
struct WriteResult;
}  // namespace qvprt::files

namespace qvprt::editor {

namespace testing {
struct EditorAccess;
}

struct ComboBox {
    std::vector<std::string> entries;  // GBK
    int selection = -1;                // -1: nothing selected
    bool enabled = true;
    bool operator==(const ComboBox&) const = default;
};

// The setting boxes, radios, edits and enabled flags of the main window, as data.
struct Controls {
    ComboBox material, material_param, cut, spacing, arrangement, density;
    ComboBox font_size, decoration, direction, scale;
    bool auto_length = false;    // 1027 "自动"
    bool fixed_length = false;   // 1028 "指定"
    bool local_font = false;     // 1022 "本地字库"
    bool external_font = false;  // 1021 "外部字库"
    bool external_font_enabled = true;
    bool current_only = false;       // 1039 "当前段"
    bool current_and_below = false;  // 1040 "当前段以下"
    bool length_edit_enabled = true;
    bool set_length_enabled = true;
    // The three integer edits' texts as the user sees them.
    std::string length_edit_text, repeat_edit_text, copies_edit_text;
    bool operator==(const Controls&) const = default;
};

// How the last file or print command ended, so that callers can act on it without reading the
// texts of its messages.
enum class Outcome { Done, Cancelled, FileError, NoPrinter, PrinterFailed, Refused };

// The application's title: captions of framework messages and questions.
inline constexpr std::string_view kAppTitle = "QvprtTest";

class Editor {
  public:
    Editor(Prompts& prompts, EditorView& view, printing::Ch375Driver& driver,
           printing::Clock& clock);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Start-up without widgets: boxes and edits, grid columns, header state, the first row.
    void Initialize();
    // Exit command: asks about an unsaved job, closes what is open and answers whether the window
    // may end.
    bool OnExit();
    // The close box: asks about an unsaved job (是 saves) and answers whether the window may end.
    bool ConfirmClose();
    // Whether the job differs from the last file opened, saved or written.
    bool IsModified() const;

    // Undo history: each changing command is one step holding the job as it was before.
    // A command still running (a posted commit of 上标 or 下标) makes both wait.
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void Undo();
    void Redo();
    static constexpr std::size_t kMaxUndoSteps = 100;
    // Bytes the history holds, roughly (rows, records and cells).
    std::size_t HistoryBytes() const;
    // Rows.
    void MakeRowCurrent(int row);
    void AddRow();
    void DeleteCheckedRows();
    int OnRowClicked(int row, int column);
    void OnCheckColumnClick(int column);
    // The user ticked or cleared a row's check box.
    bool SetRowCheck(int row, bool checked);

    // Setting boxes: the user picked `position` (the box's selection is already that entry).
    void OnMaterialChanged(int position);
    void OnMaterialParamChanged(int position);
    void OnCutChanged(int position);
    void OnSpacingChanged(int position);
    void OnArrangementChanged(int position);
    void OnDensityChanged(int position);
    // The copies edit's text changed (by the user or by a write-back).
    void OnCopiesChanged(std::string_view text);
    // The user changed the text of an integer edit (1019 or 1020).
    void OnEditTextChanged(Control edit, std::string_view text);

    // Segment attribute panel. Box handlers take the box's new position.
    void OnAutoLength();
    void OnFixedLength();
    void OnSetLength();
    void OnSetRepeat();
    void OnFontSizeChanged(int position);
    void OnScaleChanged(int position);
    void OnDecorationChanged(int position);
    void OnDirectionChanged(int position);
    void OnLocalFontLibrary();
    void OnExternalFontLibrary();
    // The scope radios 1039 "当前段" and 1040 "当前段以下".
    void OnScopeChanged(bool current_only);

    // Cell editing: may the editor open on this cell (nonzero: yes).
    int OnCanEditCell(int row, int column);
    // The cell editor ended with `text` (GBK) in the cell: the cell takes it and the commit runs;
    // an edit ended by Enter moves on to the next cell when the commit is accepted.
    int CommitCell(int row, int column, std::string_view text, bool ended_by_enter);
    // The window could not hand over a committed text: it holds a character without a GBK code.
    // The cell keeps its old text.
    void OnCellTextRefused(int row, int column);

    // 32773 "上标" and 32774 "下标": a mark at the end of the text cell the user is in, committed
    // after the command has returned.
    void OnSuperscript();
    void OnSubscript();
    // Button 1033 "设置序号": the dialog's range and type into the current record, and the serial
    // mark into the text cell when neither line has one.
    void OnSerialNumbers();

    // File commands: 32775 save project, 32776 open, 32785 write the U-disk print file.
    void SaveProjectFile();
    void OpenFile();
    void SaveUdiskFile();

    // 32783 "Excel导入": a workbook (.xls, .xlsx, .ods) or a CSV file, told apart by content.
    void OnExcelImport();
    // The import of a file already chosen, as the command runs it after its chooser (`path` is
    // UTF-8). A workbook's rows go over the grid's rows and beyond; a CSV file's replace them.
    void ImportSpreadsheet(const std::string& path);
    // Text (UTF-8) pasted into the grid while no cell editor is open. A range of cells goes in as
    // a workbook's rows do, from the current row down; a single value into the current text cell.
    void PasteText(std::string_view utf8);

    // 32779 print.
    void OnPrint();
    // 32782 "打印预览": compiles in the edit form and shows the job in the preview strip.
    void OnPreview();
    // Printable height of the material for the preview; nothing for a parameter index the material
    // does not have, which leaves the strip's height as it was.
    static std::optional<double> PreviewHeightMm(const model::JobSettings& settings);
    // 32784 "电气符号": the picker's symbols appended to the current row's text cell.
    void InsertSymbol();
    // Opens the printer once to see whether one is there; tells the user when none answers.
    // Answers 1 when a printer was opened, else 0.
    int ProbePrinter();

    // Rebuilds every record from its grid row and measures it, in the edit form or (false) the
    // printer form; sets walk_segment() and overlong_count().
    void CompileSegments(bool editForm);

    // The three integer edits as a block, in the order 1019, 1020, 1032. Reading stops at the first
    // edit that holds no integer, with "请键入一个整数。", and answers false.
    bool ReadEdits();
    void WriteEdits();

    // Cells shown for record values.
    static std::string DecorationText(char code);
    static std::string DirectionText(const std::array<char, 2>& direction);
    static std::string ScaleText(int char_scale);
    // The record's text as the two text cells show it: codes become the marks again.
    static std::pair<std::string, std::string> CellsFromRecordText(const model::SegmentNode& n);

    // The next print probes for a printer again, as after a start without one.
    void ForgetPrinter() { usb_ready_ = 0; }

    // --- state the window, the command-line program and the tests read ---
    const model::JobSettings& settings() const { return settings_; }
    // The records, one per grid row in grid order.
    const model::SegmentList& segments() const { return segments_; }
    const model::SegmentNode* current_segment() const { return current_segment_; }
    const model::SegmentNode* walk_segment() const { return walk_segment_; }
    int current_row() const { return current_row_; }
    const SegmentGrid& grid() const { return grid_; }
    // The grid model the window's table view shows; the view writes its check boxes and its own
    // current row and column into it, as the user sets them.
    SegmentGrid& view_grid() { return grid_; }
    int overlong_count() const { return overlong_count_; }
    // Rows the last compilation cut to 50 bytes (a text of exactly 50 counts as over-long but
    // loses nothing).
    int cut_count() const { return cut_count_; }
    int usb_ready() const { return usb_ready_; }
    const printing::CSerialPort& printer_link() const { return printer_link_; }
    int printed_upto() const { return printed_upto_; }
    int length_edit_value() const { return length_edit_value_; }
    int repeat_edit_value() const { return repeat_edit_value_; }
    int copies_edit_value() const { return copies_edit_value_; }
    const Controls& controls() const { return controls_; }
    Outcome last_outcome() const { return last_outcome_; }

  private:
    friend struct testing::EditorAccess;

    // One grid row with its record (links cleared) as they were. Snapshots share the rows that did
    // not change between them, so 100 steps of a 1000-row job hold little more than one copy.
    struct RowState {
        SegmentGrid::Row row;
        model::SegmentNode record;
    };
    // The whole job as the user sees it; compilation results travel along but are not compared.
    struct JobSnapshot {
        std::vector<std::shared_ptr<const RowState>> rows;
        std::array<int, kGridColumns> header_states{};
        int grid_row = 0, grid_column = 0;
        model::JobSettings settings;
        Controls controls;
        int current_row = -1;
        int length_edit_value = 25, repeat_edit_value = 1, copies_edit_value = 0;
    };
    JobSnapshot TakeSnapshot();
    // Restores the job and tells the view about every control, the rows and the preview height.
    void RestoreSnapshot(JobSnapshot s);
    // Whether the job now is the job of `s` (compilation results and the current row aside).
    bool SameJobAsNow(const JobSnapshot& s) const;
    void MarkSaved();
    // Tells the view when the job starts or stops differing from the saved one.
    void TellModified();
    // Held for the length of a command: the job before it becomes an undo step when the command
    // changed it. Nested steps belong to the outermost one.
    class Step {
      public:
        explicit Step(Editor& e);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

      private:
        Editor& e_;
    };
    // For a call the command posts: the command's step stays open until the call has run, so
    // both are one step.
    std::function<void()> WithinStep(std::function<void()> call);
    int step_depth_ = 0;
    std::optional<JobSnapshot> step_before_;
    std::deque<JobSnapshot> undo_, redo_;
    std::optional<JobSnapshot> saved_;
    // The rows of the snapshot taken or restored last, which the next one shares where it can.
    std::vector<std::shared_ptr<const RowState>> last_rows_;
    bool told_modified_ = false;

    // The only ways rows and records come and go, so that row i always shows record i.
    // A new record with the defaults and its row, at `row` (0..row count).
    model::SegmentNode* InsertRow(int row);
    // Removes row `row` and its record; answers the record that takes its place.
    model::SegmentNode* EraseRow(int row);
    void ClearRows();
    // Appends the records of `read` and a row for each; answers the first row appended.
    int AppendRows(model::SegmentList&& read);

    // A record with the defaults and its row at `row`, as the add-row command makes it.
    model::SegmentNode* NewDefaultRow(int row);

    // Import: the record of 1-based `row`, rows with the defaults appended up to it; nullptr past
    // the grid's last row. The cursor remembers the last record found.
    struct ImportCursor {
        int index = -1;
        model::SegmentNode* record = nullptr;
    };
    model::SegmentNode* ImportTarget(int row, ImportCursor& cursor);
    void write_import_row(model::SegmentNode& n, int index, const std::string& line1,
                          const std::string& line2, int repeat);
    // Writes the planned rows until one brings the job to the printer's limit; that row is put
    // back as it was. Answers the number of rows written.
    int WriteImportRows(const ImportPlan& plan, bool& size_reached);
    void ReportImport(const ImportPlan& plan, int written, bool size_reached);
    void PasteValue(const std::string& utf8);

    void ShowMessage(std::string_view utf8_text, std::string_view utf8_caption,
                     MessageIcon icon = MessageIcon::None);
    // Selection set from code: an entry out of range selects nothing.
    void SelectEntry(ComboBox& box, Control id, int selection);
    // The user's pick, kept as given.
    void Pick(ComboBox& box, Control id, int position);
    void FillRowCells(int row, const model::SegmentNode& n);
    // The current row's font size, scaling, decoration and direction in their boxes, by selection
    // only (the boxes' handlers do not run).
    void ShowRowAttributes(const model::SegmentNode& n);
    // Runs `apply(record, row)` on the current record, and on every record below it unless the
    // scope is "当前段".
    template <typename F>
    void ScopeWalk(F&& apply);
    // Refits the font size of a fixed-length segment whose size is automatic.
    void Refit(model::SegmentNode& n);
    void SetFontLibrary(bool external);
    void AppendScriptMark(bool superscript);
    // The commit of the text a cell now holds.
    int OnCellChanged(int row, int column, bool ended_by_enter);
    void ApplyFileSettings(const files::ReadResult& file);
    // The save chooser, then the cell editor committed and the rows compiled in the edit form;
    // nothing when the user cancels.
    std::optional<std::string> ChooseSaveTarget(const char* filter, const char* initial_name);
    // Shows a failed write's message; answers whether the write succeeded.
    bool ReportWrite(const files::WriteResult& r);
    // After a save, U-disk write or print: the rows its compilation cut, once.
    void ReportCutRows();

    model::JobSettings settings_;
    model::SegmentList segments_;
    model::SegmentNode* current_segment_ = nullptr;
    model::SegmentNode* walk_segment_ = nullptr;
    int current_row_ = -1;
    SegmentGrid grid_;
    int overlong_count_ = 0;
    int cut_count_ = 0;
    int usb_ready_ = 0;
    printing::CSerialPort printer_link_;
    int printed_upto_ = 0;
    int length_edit_value_ = 25;
    int repeat_edit_value_ = 1;
    int copies_edit_value_ = 0;
    Controls controls_;
    // Set by the file and print commands; the window ignores it. An empty U-disk print file and an
    // append past the row limit count as refused, a file without any segment as a file error.
    Outcome last_outcome_ = Outcome::Done;
    Prompts& prompts_;
    EditorView& view_;
    printing::Ch375Driver& driver_;
    printing::Clock& clock_;
};

}  // namespace qvprt::editor
