// Undo, redo and the unsaved-job question. A step is a copy of the whole job: at most 1000 rows of
// short cells, so copying beats recording each command's inverse.
#include <unordered_set>
#include <utility>

#include "editor/Editor.h"
#include "text/gbk.h"

namespace qvprt::editor {

namespace {

// The record fields the user sets; the rest is rebuilt by every compilation from the grid, so a
// preview or a print does not make the job differ. An automatic font size is refitted by every
// commit, even of an unchanged text.
bool SameUserFields(const model::SegmentNode& a, const model::SegmentNode& b) {
    return a.auto_length == b.auto_length && a.auto_font == b.auto_font &&
           (a.auto_font != 0 || a.font_size == b.font_size) && a.char_scale == b.char_scale &&
           a.decoration == b.decoration && a.direction == b.direction && a.material == b.material &&
           a.material_param == b.material_param && a.length_text == b.length_text &&
           a.repeat_text == b.repeat_text && a.repeat == b.repeat && a.has_serial == b.has_serial &&
           a.serial_start == b.serial_start && a.serial_end == b.serial_end &&
           a.serial_natural == b.serial_natural && a.serial_padded == b.serial_padded &&
           a.serial_upper == b.serial_upper && a.serial_lower == b.serial_lower;
}

}  // namespace

Editor::JobSnapshot Editor::TakeSnapshot() {
    JobSnapshot s;
    const std::vector<SegmentGrid::Row>& rows = grid_.rows();
    s.rows.reserve(rows.size());
    std::size_t i = 0;
    for (const model::SegmentNode* n = segments_.head(); n != nullptr && i < rows.size();
         n = n->next, ++i) {
        model::SegmentNode record = *n;
        record.prev = record.next = nullptr;
        // Rows usually change one or two at a time: the row at the same place last time is the one
        // to share.
        if (i < last_rows_.size() && last_rows_[i]->row == rows[i] &&
            last_rows_[i]->record == record) {
            s.rows.push_back(last_rows_[i]);
        } else {
            s.rows.push_back(std::make_shared<const RowState>(RowState{rows[i], record}));
        }
    }
    s.header_states = grid_.header_states();
    s.grid_row = grid_.GetCurrentRowOfGrid();
    s.grid_column = grid_.GetCurrentColumn();
    s.settings = settings_;
    s.controls = controls_;
    s.current_row = current_row_;
    s.length_edit_value = length_edit_value_;
    s.repeat_edit_value = repeat_edit_value_;
    s.copies_edit_value = copies_edit_value_;
    last_rows_ = s.rows;
    return s;
}

void Editor::RestoreSnapshot(JobSnapshot s) {
    segments_.clear();
    current_segment_ = walk_segment_ = nullptr;
    SegmentGrid::Contents contents;
    contents.rows.reserve(s.rows.size());
    for (const std::shared_ptr<const RowState>& r : s.rows) {
        model::SegmentNode* n = segments_.push_back(s.settings);
        model::SegmentNode* prev = n->prev;
        *n = r->record;
        n->prev = prev;
        n->next = nullptr;
        contents.rows.push_back(r->row);
    }
    contents.header_states = s.header_states;
    contents.current_row = s.grid_row;
    contents.current_column = s.grid_column;
    last_rows_ = std::move(s.rows);
    settings_ = s.settings;
    controls_ = std::move(s.controls);
    current_row_ = s.current_row;
    length_edit_value_ = s.length_edit_value;
    repeat_edit_value_ = s.repeat_edit_value;
    copies_edit_value_ = s.copies_edit_value;
    grid_.SetContents(std::move(contents));
    if (current_row_ >= 0) {
        current_segment_ = segments_.at(current_row_);
    }
    walk_segment_ = segments_.tail();
    for (Control id : kAllControls) {
        view_.ControlChanged(id);
    }
    if (const auto height = PreviewHeightMm(settings_)) {
        view_.SetPreviewHeight(*height);
    }
}

bool Editor::SameJobAsNow(const JobSnapshot& s) const {
    if (!(s.settings == settings_) || s.header_states != grid_.header_states() ||
        s.rows.size() != static_cast<std::size_t>(segments_.size()) ||
        s.rows.size() != grid_.rows().size()) {
        return false;
    }
    const model::SegmentNode* n = segments_.head();
    for (const std::shared_ptr<const RowState>& r : s.rows) {
        if (!SameUserFields(r->record, *n)) {
            return false;
        }
        n = n->next;
    }
    // The star and the row numbers follow the current row and the row count: a click that only
    // moves the current row is nothing to undo.
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        const SegmentGrid::Row& x = s.rows[i]->row;
        const SegmentGrid::Row& y = grid_.rows()[i];
        if (x.checked != y.checked) {
            return false;
        }
        for (int c = COL_TEXT; c < kGridColumns; ++c) {
            if (x.cells[static_cast<std::size_t>(c)] != y.cells[static_cast<std::size_t>(c)]) {
                return false;
            }
        }
    }
    return true;
}

Editor::Step::Step(Editor& e) : e_(e) {
    if (e_.step_depth_++ == 0) {
        e_.step_before_ = e_.TakeSnapshot();
    }
}

Editor::Step::~Step() {
    if (--e_.step_depth_ != 0 || !e_.step_before_) {
        return;
    }
    JobSnapshot before = std::move(*e_.step_before_);
    e_.step_before_.reset();
    if (e_.SameJobAsNow(before)) {
        return;
    }
    e_.undo_.push_back(std::move(before));
    if (e_.undo_.size() > kMaxUndoSteps) {
        e_.undo_.pop_front();
    }
    e_.redo_.clear();
    e_.TellModified();
}

std::function<void()> Editor::WithinStep(std::function<void()> call) {
    // The open step stays open until the posted call has run.
    ++step_depth_;
    return [this, call = std::move(call)] {
        const Step step(*this);
        --step_depth_;
        call();
    };
}

void Editor::Undo() {
    if (step_depth_ > 0) {
        return;  // a posted part of the last command has yet to run
    }
    // An open cell editor's text is committed first, as a step of its own.
    view_.CommitCellEditor();
    if (undo_.empty()) {
        return;
    }
    redo_.push_back(TakeSnapshot());
    JobSnapshot s = std::move(undo_.back());
    undo_.pop_back();
    RestoreSnapshot(std::move(s));
    TellModified();
}

void Editor::Redo() {
    if (step_depth_ > 0) {
        return;
    }
    view_.CommitCellEditor();
    if (redo_.empty()) {
        return;
    }
    undo_.push_back(TakeSnapshot());
    JobSnapshot s = std::move(redo_.back());
    redo_.pop_back();
    RestoreSnapshot(std::move(s));
    TellModified();
}

std::size_t Editor::HistoryBytes() const {
    // Each shared row once, however many steps hold it.
    std::unordered_set<const RowState*> counted;
    std::size_t bytes = 0;
    auto add = [&](const JobSnapshot& s) {
        bytes += sizeof(JobSnapshot) + s.rows.capacity() * sizeof(s.rows[0]);
        for (const std::shared_ptr<const RowState>& r : s.rows) {
            if (!counted.insert(r.get()).second) {
                continue;
            }
            // The shared block holds the row beside its counts.
            bytes += sizeof(RowState) + 2 * sizeof(long);
            for (const std::string& c : r->row.cells) {
                // Short cells live inside the string itself.
                if (c.capacity() > std::string().capacity()) {
                    bytes += c.capacity() + 1;
                }
            }
        }
    };
    for (const JobSnapshot& s : undo_) {
        add(s);
    }
    for (const JobSnapshot& s : redo_) {
        add(s);
    }
    return bytes;
}

void Editor::MarkSaved() {
    saved_ = TakeSnapshot();
    TellModified();
}

bool Editor::IsModified() const {
    return !saved_ || !SameJobAsNow(*saved_);
}

void Editor::TellModified() {
    const bool modified = IsModified();
    if (modified != told_modified_) {
        told_modified_ = modified;
        view_.JobModifiedChanged(modified);
    }
}

bool Editor::ConfirmClose() {
    if (!IsModified()) {
        return true;
    }
    switch (prompts_.AskYesNoCancel(text::gbk("当前内容尚未保存，是否保存？"),
                                    std::string(kAppTitle))) {
        case Answer::Yes:
            SaveProjectFile();
            return last_outcome_ == Outcome::Done;
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

}  // namespace qvprt::editor
