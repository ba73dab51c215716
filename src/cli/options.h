#pragma once
// The options that stand for the window's setting boxes, edits and attribute panel.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/Editor.h"

namespace qvprt::cli {

// Box positions and edit texts, checked for what the controls could hold: a box option names
// one of its entries, an edit option holds digits only (as the edits accept). Whether a value is
// allowed is left to the editor's handlers, which refuse it with the window's messages.
struct JobOptions {
    std::optional<int> material, param, cut, spacing, arrangement, density;
    std::optional<std::string> copies;
    // Segment attributes for every row.
    std::optional<bool> external_font_library;
    std::optional<std::string> length;  // "auto" or digits
    std::optional<int> font_size, decoration, direction, scale;
    std::optional<std::string> repeat;

    bool any_segment_option() const;
};

// Takes one option's value into `options`. Answers false when `name` is no such option; sets
// `error` (and answers true) when the value is not one the option takes.
bool parse_job_option(std::string_view name, std::string_view value, JobOptions& options,
                      std::string& error);

// Applies the options through the window's handlers, in this order: material, parameter, cut,
// spacing, arrangement, density, copies; then, with the scope "当前段以下" and row 0 clicked,
// the font library, a fixed length, the font size, an automatic length, the repeat count, the
// scaling, the decoration and the direction. A fixed length goes before the font size and an
// automatic one after it, so that each pairs with the other kind of size.
// Answers false with `error` when a control could not take the value (a parameter position the
// box does not have, the scaling box while it is disabled).
bool apply_job_options(editor::Editor& editor, const JobOptions& options, std::string& error,
                       const std::function<void()>& after_each);

}  // namespace qvprt::cli
