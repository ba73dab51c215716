// The segment attribute panel: length, repeat, font size, scaling, decoration, direction and the
// font library, applied to the current segment or to it and every segment below.
#include <string>

#include "editor/Editor.h"
#include "editor/format.h"
#include "layout/measure.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace qvprt::editor {

using model::SegmentNode;

template <typename F>
void Editor::ScopeWalk(F&& apply) {
    walk_segment_ = current_segment_;
    int row = current_row_;
    while (walk_segment_ != nullptr) {
        apply(*walk_segment_, row);
        if (controls_.current_only || walk_segment_->next == nullptr) {
            break;
        }
        walk_segment_ = walk_segment_->next;
        ++row;
    }
}

void Editor::Refit(SegmentNode& n) {
    if (n.auto_length == 0 && n.auto_font == 1) {
        layout::AutoFitFontSize(n, settings_);
    }
}

void Editor::OnScopeChanged(bool current_only) {
    const Step step(*this);
    controls_.current_only = current_only;
    controls_.current_and_below = !current_only;
    view_.ControlChanged(Control::CurrentOnly);
    view_.ControlChanged(Control::CurrentAndBelow);
}

void Editor::OnAutoLength() {
    const Step step(*this);
    controls_.auto_length = true;
    controls_.fixed_length = false;
    settings_.default_auto_length = 1;
    text::copy_field(settings_.default_length_text, "Au");
    int skipped = 0;
    ScopeWalk([&](SegmentNode& n, int) {
        if (n.auto_font == 1) {
            ++skipped;
            n.auto_length = 0;
        } else {
            text::copy_field(n.length_text, "Au");
            n.auto_length = 1;
        }
    });
    if (skipped > 0) {
        ShowMessage(Format("共有{%d}段字号已设为自动字号,不能再设自动段长！", skipped), "提示");
    }
    controls_.length_edit_enabled = false;
    controls_.set_length_enabled = false;
    view_.ControlChanged(Control::AutoLength);
    view_.ControlChanged(Control::FixedLength);
    view_.ControlChanged(Control::LengthEdit);
    view_.ControlChanged(Control::SetLength);
}

void Editor::OnFixedLength() {
    const Step step(*this);
    controls_.auto_length = false;
    controls_.fixed_length = true;
    controls_.length_edit_enabled = true;
    controls_.set_length_enabled = true;
    view_.ControlChanged(Control::AutoLength);
    view_.ControlChanged(Control::FixedLength);
    view_.ControlChanged(Control::LengthEdit);
    view_.ControlChanged(Control::SetLength);
}

void Editor::OnSetLength() {
    const Step step(*this);
    ReadEdits();  // a refused edit shows its message; the command goes on with what was read
    const int value = length_edit_value_;
    if (value < model::kMinLengthMm || value > model::kMaxLengthMm) {
        ShowMessage(Format("输入段长值应在(%d-%d)之间!", model::kMinLengthMm, model::kMaxLengthMm),
                    "Prompt");
        length_edit_value_ = 20;
        WriteEdits();
        return;
    }
    text::copy_field(settings_.default_length_text, std::to_string(value));
    settings_.default_auto_length = 0;
    settings_.default_length_mm = static_cast<std::int16_t>(value);
    int overflowed = 0;
    ScopeWalk([&](SegmentNode& n, int) {
        const auto length_text = n.length_text;
        const auto auto_length = n.auto_length;
        const auto length_dots = n.length_dots;
        n.length_text = settings_.default_length_text;
        n.auto_length = 0;
        n.length_dots = static_cast<std::uint16_t>(value * model::dots_per_mm);
        if (layout::SegmentOverflows(n, settings_)) {
            ++overflowed;
            n.length_text = length_text;
            n.auto_length = auto_length;
            n.length_dots = length_dots;
        }
        n.feed_dots = n.length_dots;
        if (!controls_.current_only) {
            Refit(n);
        }
    });
    if (overflowed > 0) {
        ShowMessage(Format("共有{%d}段超长，设定段长无效！", overflowed), "提示");
    }
}

void Editor::OnSetRepeat() {
    const Step step(*this);
    ReadEdits();
    const int value = repeat_edit_value_;
    if (value < model::kMinRepeat || value > model::kMaxRepeat) {
        ShowMessage(Format("重复次数应在[%d-%d]之间！", model::kMinRepeat, model::kMaxRepeat),
                    "提示");
        repeat_edit_value_ = 1;
        WriteEdits();
        return;
    }
    SegmentGrid::Batch batch(grid_);
    ScopeWalk([&](SegmentNode& n, int row) {
        model::set_repeat(n, value);
        grid_.SetCellText(row, COL_REPEAT, std::to_string(value));
    });
    settings_.default_repeat = static_cast<std::int16_t>(value);
}

void Editor::OnFontSizeChanged(int position) {
    const Step step(*this);
    const int sel = position;
    Pick(controls_.font_size, Control::FontSize, sel);
    settings_.default_auto_font = sel == 0 ? 1 : 0;
    settings_.default_font_size = static_cast<std::uint8_t>(sel);
    int skipped = 0, overlong = 0, above = 0, double_line = 0;
    SegmentGrid::Batch batch(grid_);
    auto attempt = [&](SegmentNode& n, int row) {
        const auto auto_font = n.auto_font;
        const auto font_size = n.font_size;
        n.auto_font = settings_.default_auto_font;
        n.font_size = settings_.default_font_size;
        Refit(n);
        if (layout::SegmentOverflows(n, settings_)) {
            n.auto_font = auto_font;
            n.font_size = font_size;
            ++overlong;
        } else {
            grid_.SetCellText(row, COL_FONTSIZE, std::to_string(settings_.default_font_size));
        }
    };
    ScopeWalk([&](SegmentNode& n, int row) {
        if (sel >= 1) {
            const int largest = layout::max_font_size(settings_);
            if (sel > largest) {
                SelectEntry(controls_.font_size, Control::FontSize, largest);
                ++above;
            } else if (n.double_line && sel >= 4) {
                ++double_line;
            } else {
                attempt(n, row);
            }
        } else if (n.auto_length == 1) {
            ++skipped;
        } else {
            attempt(n, row);
        }
    });
    std::string message;
    auto add = [&](int count, const char* line) {
        if (count > 0) {
            message += Format(line, count);
        }
    };
    if (sel >= 1) {
        add(above, "共有{%d}段所选字号超出材料范围，请选择其它字号！\r\n");
        add(double_line, "共有{%d}段所选字号不适合双行，请选择其它字号！\r\n");
        add(overlong, "共有{%d}段超长，请选择其它字号！\r\n");
    } else {
        add(skipped, "共有{%d}段设定为自动段长，不能再设置为自动字号！\r\n");
        add(overlong, "共有{%d}段超长，请选择其它字号！\r\n");
    }
    if (!message.empty()) {
        ShowMessage(message, "提示");
    }
}

void Editor::OnScaleChanged(int position) {
    const Step step(*this);
    Pick(controls_.scale, Control::Scale, position);
    const std::uint8_t scale = model::kScales.code_at(position);
    const std::string shown = ScaleText(scale);
    SegmentGrid::Batch batch(grid_);
    ScopeWalk([&](SegmentNode& n, int row) {
        n.char_scale = scale;
        grid_.SetCellText(row, COL_SCALE, shown);
    });
}

void Editor::OnDecorationChanged(int position) {
    const Step step(*this);
    Pick(controls_.decoration, Control::Decoration, position);
    const char code = model::kDecorations.code_at(position);
    const std::string shown = DecorationText(code);
    settings_.default_decoration = code;
    SegmentGrid::Batch batch(grid_);
    ScopeWalk([&](SegmentNode& n, int row) {
        n.decoration = code;
        grid_.SetCellText(row, COL_DECORATION, shown);
    });
}

void Editor::OnDirectionChanged(int position) {
    const Step step(*this);
    Pick(controls_.direction, Control::Direction, position);
    settings_.default_direction = model::kDirections.code_at(position);
    const std::string shown = DirectionText(settings_.default_direction);
    int overflowed = 0;
    SegmentGrid::Batch batch(grid_);
    ScopeWalk([&](SegmentNode& n, int row) {
        const auto direction = n.direction;
        n.direction = settings_.default_direction;
        Refit(n);
        if (layout::SegmentOverflows(n, settings_)) {
            ++overflowed;
            n.direction = direction;
            layout::SegmentOverflows(n, settings_);  // measure again with the direction put back
        } else {
            grid_.SetCellText(row, COL_DIRECTION, shown);
        }
    });
    if (overflowed > 0) {
        ShowMessage(Format("共有{%d}段超长,方向设置对其无效,请重新设置！", overflowed), "提示");
    }
}

void Editor::SetFontLibrary(bool external) {
    controls_.local_font = !external;
    controls_.external_font = external;
    controls_.scale.enabled = !external;
    view_.ControlChanged(Control::LocalFont);
    view_.ControlChanged(Control::ExternalFont);
    view_.ControlChanged(Control::Scale);
    const std::uint8_t scale = external ? model::kExternalFontScale : model::kScales.code_at(0);
    const std::string shown = ScaleText(scale);
    SegmentGrid::Batch batch(grid_);
    int row = 0;
    for (SegmentNode* n = segments_.head(); n != nullptr; n = n->next, ++row) {
        n->char_scale = scale;
        grid_.SetCellText(row, COL_SCALE, shown);
        Refit(*n);
    }
}

void Editor::OnLocalFontLibrary() {
    const Step step(*this);
    SetFontLibrary(false);
}

void Editor::OnExternalFontLibrary() {
    const Step step(*this);
    SetFontLibrary(true);
}

}  // namespace qvprt::editor
