#include "editor/Editor.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "printing/job_stream.h"
#include "text/gbk.h"

namespace qvprt::editor {

using model::SegmentNode;
using text::gbk;

namespace {

// A setting box's entries, from its table.
template <typename Table>
std::vector<std::string> Entries(const Table& table) {
    std::vector<std::string> v;
    for (const auto& value : table.values) {
        v.push_back(gbk(value.box_entry));
    }
    return v;
}

std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> v;
    for (int i = first; i <= last; ++i) {
        v.push_back(std::to_string(i));
    }
    return v;
}

// The dialog's integer exchange: optional leading blanks, a sign, digits, and nothing after them.
bool ParseDialogInt(std::string_view s, int& value) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
        ++i;
    }
    std::string digits(s.substr(i));
    if (digits.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(digits.c_str(), &end, 10);
    if (end == digits.c_str() || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

}  // namespace

Editor::Editor(Prompts& prompts, EditorView& view, printing::Ch375Driver& driver,
               printing::Clock& clock)
    : printer_link_(driver, clock),
      prompts_(prompts),
      view_(view),
      driver_(driver),
      clock_(clock) {}

Editor::~Editor() = default;

void Editor::ShowMessage(std::string_view utf8_text, std::string_view utf8_caption,
                         MessageIcon icon) {
    prompts_.ShowMessage(gbk(utf8_text), gbk(utf8_caption), icon);
}

void Editor::SelectEntry(ComboBox& box, Control id, int selection) {
    box.selection =
        (selection >= 0 && selection < static_cast<int>(box.entries.size())) ? selection : -1;
    view_.ControlChanged(id);
}

void Editor::Pick(ComboBox& box, Control id, int position) {
    box.selection = position;
    view_.ControlChanged(id);
}

std::string Editor::DecorationText(char code) {
    const int position = model::kDecorations.position_of(code);
    return position >= 0 ? gbk(model::kDecorations.at(position).cell()) : std::string();
}

std::string Editor::DirectionText(const std::array<char, 2>& direction) {
    // Any first byte but the horizontal one prints vertically.
    return gbk(model::kDirections.at(model::kDirections.position_of(direction)).cell());
}

std::string Editor::ScaleText(int char_scale) {
    const int position = char_scale >= 0 && char_scale <= 0xFF
                             ? model::kScales.position_of(static_cast<std::uint8_t>(char_scale))
                             : -1;
    return std::string(position >= 0 ? model::kScales.at(position).cell()
                                     : model::kExternalFontScaleCell);
}

void Editor::Initialize() {
    Controls& c = controls_;
    repeat_edit_value_ = 1;
    length_edit_value_ = 20;
    copies_edit_value_ = 1;
    c.length_edit_text = "20";
    c.repeat_edit_text = "1";
    c.copies_edit_text = "1";

    c.local_font = true;
    c.external_font = false;
    c.current_and_below = true;
    c.current_only = false;
    c.external_font_enabled = true;
    c.fixed_length = true;
    c.auto_length = false;
    c.length_edit_enabled = true;
    c.set_length_enabled = true;

    c.material.entries.clear();
    for (const model::Material& m : model::kMaterials) {
        c.material.entries.push_back(gbk(m.box_entry));
    }
    c.material.selection = 0;
    c.material_param.entries = model::material_param_entries(0);
    c.material_param.selection = model::kDefaultParamPosition;
    c.cut.entries = Entries(model::kCutModes);
    c.cut.selection = model::kCutModes.position_of(settings_.cut_mode);
    c.spacing.entries = Numbers(0, model::kMaxSpacing);
    c.spacing.selection = 0;
    c.arrangement.entries = Entries(model::kArrangements);
    c.arrangement.selection = 0;
    c.density.entries = Numbers(1, 9);
    for (char ch = 'A'; ch <= 'F'; ++ch) {
        c.density.entries.emplace_back(1, ch);
    }
    // The box starts on the entry of the density the job starts with.
    c.density.selection = settings_.density - 1;
    c.font_size.entries = Entries(model::kFontSizes);
    c.font_size.selection = 0;
    c.decoration.entries = Entries(model::kDecorations);
    c.decoration.selection = 0;
    c.direction.entries = Entries(model::kDirections);
    c.direction.selection = 0;
    c.scale.entries = Entries(model::kScales);
    c.scale.selection = 0;

    for (Control id : kAllControls) {
        view_.ControlChanged(id);
    }

    grid_.SetHeaderCheckState(COL_CHECK, 2);
    current_row_ = -1;
    AddRow();
    usb_ready_ = ProbePrinter();
    undo_.clear();
    redo_.clear();
    MarkSaved();
}

bool Editor::OnExit() {
    // Read the edits first: a refused exit must leave the link and the status window working.
    if (!ReadEdits() || !ConfirmClose()) {
        return false;
    }
    if (printer_link_.is_open()) {
        printer_link_.close();
    }
    if (view_.StatusExists()) {
        view_.CloseStatus();
    }
    return true;
}

bool Editor::ReadEdits() {
    struct Edit {
        const std::string& text;
        int& value;
        Control id;
    };
    const Edit edits[] = {{controls_.length_edit_text, length_edit_value_, Control::LengthEdit},
                          {controls_.repeat_edit_text, repeat_edit_value_, Control::RepeatEdit},
                          {controls_.copies_edit_text, copies_edit_value_, Control::CopiesEdit}};
    for (const Edit& e : edits) {
        int v = 0;
        if (!ParseDialogInt(e.text, v)) {
            ShowMessage("请键入一个整数。", kAppTitle, MessageIcon::Exclamation);
            view_.FocusControl(e.id);
            return false;
        }
        e.value = v;
    }
    return true;
}

void Editor::WriteEdits() {
    controls_.length_edit_text = std::to_string(length_edit_value_);
    controls_.repeat_edit_text = std::to_string(repeat_edit_value_);
    const std::string copies = std::to_string(copies_edit_value_);
    const bool copies_changed = copies != controls_.copies_edit_text;
    controls_.copies_edit_text = copies;
    view_.ControlChanged(Control::LengthEdit);
    view_.ControlChanged(Control::RepeatEdit);
    view_.ControlChanged(Control::CopiesEdit);
    // A new text in the copies edit runs its change handler, as a typed one would.
    if (copies_changed) {
        OnCopiesChanged(copies);
    }
}

void Editor::OnEditTextChanged(Control edit, std::string_view text) {
    if (edit == Control::LengthEdit) {
        controls_.length_edit_text = text;
    } else if (edit == Control::RepeatEdit) {
        controls_.repeat_edit_text = text;
    } else if (edit == Control::CopiesEdit) {
        OnCopiesChanged(text);
    }
}

void Editor::OnCopiesChanged(std::string_view text) {
    const Step step(*this);
    controls_.copies_edit_text = text;
    if (!ReadEdits()) {
        return;
    }
    if (!model::copies_in_range(copies_edit_value_)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "打印份数应在[%d-%d]之间！", model::kMinCopies,
                      model::kMaxCopies);
        ShowMessage(buf, "提示");
        copies_edit_value_ = 1;
        WriteEdits();
        return;
    }
    settings_.copies = copies_edit_value_;
}

void Editor::OnMaterialChanged(int position) {
    const Step step(*this);
    Pick(controls_.material, Control::Material, position);
    const model::MaterialChoice choice =
        model::select_material(settings_, segments_.head(), position);
    controls_.material_param.entries = choice.param_entries;
    SelectEntry(controls_.material_param, Control::MaterialParam, choice.param_selection);
    view_.SetPreviewHeight(choice.preview_height_mm);
}

void Editor::OnMaterialParamChanged(int position) {
    const Step step(*this);
    Pick(controls_.material_param, Control::MaterialParam, position);
    model::select_material_param(settings_, segments_.head(), position);
}

void Editor::OnCutChanged(int position) {
    const Step step(*this);
    Pick(controls_.cut, Control::Cut, position);
    model::select_cut_mode(settings_, position);
}

void Editor::OnSpacingChanged(int position) {
    const Step step(*this);
    Pick(controls_.spacing, Control::Spacing, position);
    model::select_spacing(settings_, position);
}

void Editor::OnArrangementChanged(int position) {
    const Step step(*this);
    Pick(controls_.arrangement, Control::Arrangement, position);
    model::select_arrangement(settings_, position);
}

void Editor::OnDensityChanged(int position) {
    const Step step(*this);
    Pick(controls_.density, Control::Density, position);
    model::select_density(settings_, position);
}

}  // namespace qvprt::editor
