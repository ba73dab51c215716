#pragma once
// The serial-number dialog's decisions, without widgets: which type it opens with, what its edits
// accept, what OK makes of the typed range, and the range preview under the edits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace qvprt::editor {

// The dialog's fields: one type byte each, and the range texts (three characters and a zero).
struct SerialChoice {
    std::uint8_t natural = 0;  // 1023
    std::uint8_t padded = 0;   // 1021
    std::uint8_t upper = 0;    // 1024
    std::uint8_t lower = 0;    // 1022
    std::array<char, 4> start{};
    std::array<char, 4> end{};
    bool operator==(const SerialChoice&) const = default;
};

enum class SerialType { Natural, Padded, Lower, Upper };

// The radio checked when the dialog opens: the set type bytes are checked in turn, so the last one
// wins; natural when none is set.
SerialType InitialSerialType(const SerialChoice& choice);

// What both edits take for a type.
struct SerialEditMode {
    bool digits = true;  // else letters
    int limit = 3;
    bool upper_case = false;  // letters only
};
SerialEditMode EditModeFor(SerialType type);

// OK with the checked type and the edits' texts (digits or letters only): the choice, or the
// message (UTF-8, caption "提示") that keeps the dialog open.
using SerialAccept = std::variant<SerialChoice, std::string_view>;
SerialAccept AcceptSerial(SerialType type, std::string_view start, std::string_view end);

// The values the range gives, as they will print: "共6个：7, 8, … 12" (UTF-8, for the dialog's
// label); empty while an edit is empty or holds nothing of the type.
std::string SerialPreview(SerialType type, std::string_view start, std::string_view end);

}  // namespace qvprt::editor
