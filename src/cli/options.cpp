#include "cli/options.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "model/coded_values.h"

namespace qvprt::cli {

namespace {

bool AllDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> Integer(std::string_view s, int low, int high) {
    if (!AllDigits(s) || s.size() > 4) {
        return std::nullopt;
    }
    const int v = std::stoi(std::string(s));
    if (v < low || v > high) {
        return std::nullopt;
    }
    return v;
}

std::optional<int> Word(std::string_view s, std::initializer_list<std::string_view> words) {
    int i = 0;
    for (const std::string_view w : words) {
        if (s == w) {
            return i;
        }
        ++i;
    }
    return std::nullopt;
}

}  // namespace

bool JobOptions::any_segment_option() const {
    return external_font_library || length || font_size || decoration || direction || scale ||
           repeat;
}

bool parse_job_option(std::string_view name, std::string_view value, JobOptions& o,
                      std::string& error) {
    auto take = [&](std::optional<int>& field, std::optional<int> v, const std::string& expected) {
        if (!v) {
            error = "--" + std::string(name) + ": expected " + expected + ", got '" +
                    std::string(value) + "'";
        }
        field = v;
    };
    auto digits = [&](std::optional<std::string>& field, bool allow_auto) {
        if (AllDigits(value) || (allow_auto && value == "auto")) {
            field = std::string(value);
        } else {
            error = "--" + std::string(name) + ": expected " + (allow_auto ? "auto or " : "") +
                    "a whole number, got '" + std::string(value) + "'";
        }
    };
    if (name == "material") {
        take(o.material, model::position_of_word(model::kMaterials, value),
             model::word_list(model::kMaterials));
    } else if (name == "param") {
        take(o.param, Integer(value, 0, 9999), "a position from 0");
    } else if (name == "cut") {
        take(o.cut, model::kCutModes.position_of_word(value), model::kCutModes.word_list());
    } else if (name == "spacing") {
        take(o.spacing, Integer(value, 0, model::kMaxSpacing), "0..20");
    } else if (name == "arrangement") {
        take(o.arrangement, model::kArrangements.position_of_word(value),
             model::kArrangements.word_list());
    } else if (name == "density") {
        std::optional<int> d = Integer(value, model::kMinDensity, model::kMaxDensity);
        take(o.density, d ? std::optional<int>(*d - 1) : std::nullopt, "1..15");
    } else if (name == "copies") {
        digits(o.copies, false);
    } else if (name == "length") {
        digits(o.length, true);
    } else if (name == "font-size") {
        // The sizes as numbers, as the edits read them ("01" too).
        const std::string_view automatic = model::kFontSizes.at(0).cli_word;
        take(
            o.font_size,
            value == automatic ? std::optional<int>(0) : Integer(value, 1, model::kLargestFontSize),
            std::string(automatic) + " or 1.." + std::to_string(model::kLargestFontSize));
    } else if (name == "repeat") {
        digits(o.repeat, false);
    } else if (name == "decoration") {
        take(o.decoration, model::kDecorations.position_of_word(value),
             model::kDecorations.word_list());
    } else if (name == "direction") {
        take(o.direction, model::kDirections.position_of_word(value),
             model::kDirections.word_list());
    } else if (name == "scale") {
        take(o.scale, model::kScales.position_of_word(value), model::kScales.word_list());
    } else if (name == "font-library") {
        std::optional<int> v = Word(value, {"local", "external"});
        if (v) {
            o.external_font_library = *v == 1;
        } else {
            error = "--font-library: expected local or external, got '" + std::string(value) + "'";
        }
    } else {
        return false;
    }
    return true;
}

bool apply_job_options(editor::Editor& e, const JobOptions& o, std::string& error,
                       const std::function<void()>& after_each) {
    using editor::Control;
    auto box = [&](const std::optional<int>& v, void (editor::Editor::*handler)(int)) {
        if (v) {
            (e.*handler)(*v);
            after_each();
        }
    };
    box(o.material, &editor::Editor::OnMaterialChanged);
    if (o.param) {
        const int entries = static_cast<int>(e.controls().material_param.entries.size());
        if (*o.param >= entries) {
            error = "--param " + std::to_string(*o.param) +
                    ": the parameter box holds positions 0.." + std::to_string(entries - 1) +
                    " for this material";
            return false;
        }
    }
    box(o.param, &editor::Editor::OnMaterialParamChanged);
    box(o.cut, &editor::Editor::OnCutChanged);
    box(o.spacing, &editor::Editor::OnSpacingChanged);
    box(o.arrangement, &editor::Editor::OnArrangementChanged);
    box(o.density, &editor::Editor::OnDensityChanged);
    if (o.copies) {
        e.OnEditTextChanged(Control::CopiesEdit, *o.copies);
        after_each();
    }
    if (!o.any_segment_option()) {
        return true;
    }

    e.OnScopeChanged(false);
    e.OnRowClicked(0, editor::COL_TEXT);
    after_each();
    if (o.external_font_library) {
        if (*o.external_font_library) {
            e.OnExternalFontLibrary();
        } else {
            e.OnLocalFontLibrary();
        }
        after_each();
    }
    const bool auto_length = o.length && *o.length == "auto";
    if (o.length && !auto_length) {
        e.OnFixedLength();
        e.OnEditTextChanged(Control::LengthEdit, *o.length);
        e.OnSetLength();
        after_each();
    }
    box(o.font_size, &editor::Editor::OnFontSizeChanged);
    if (auto_length) {
        e.OnAutoLength();
        after_each();
    }
    if (o.repeat) {
        e.OnEditTextChanged(Control::RepeatEdit, *o.repeat);
        e.OnSetRepeat();
        after_each();
    }
    if (o.scale && !e.controls().scale.enabled) {
        error = "--scale: the scaling box is disabled while the external font library is chosen";
        return false;
    }
    box(o.scale, &editor::Editor::OnScaleChanged);
    box(o.decoration, &editor::Editor::OnDecorationChanged);
    box(o.direction, &editor::Editor::OnDirectionChanged);
    return true;
}

}  // namespace qvprt::cli
