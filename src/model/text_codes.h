#pragma once
// The bytes a segment's text holds besides its characters, and how long it may be. Compilation,
// measurement, the preview, the cell editor and the messages all take them from here.
//
// The edit form keeps the two-byte marks the editing aids leave in the cells, so the grid can be
// rebuilt from it; the printer form turns them into one-byte codes and moves the symbols into the
// printer's code range.

#include <string_view>

namespace qvprt::model {

// A record's text holds at most this many bytes (its field has room for one more, a zero).
inline constexpr int kMaxTextBytes = 50;

// One-byte codes, both forms unless said.
inline constexpr char CODE_LINE_BREAK = '\x1A';
inline constexpr char CODE_SUPERSCRIPT = '\x1C';  // printer form
inline constexpr char CODE_SUBSCRIPT = '\x1E';    // printer form
inline constexpr char CODE_SERIAL_NATURAL = '\x12';
inline constexpr char CODE_SERIAL_PADDED = '\x14';
inline constexpr char CODE_SERIAL_UPPER = '\x16';
inline constexpr char CODE_SERIAL_LOWER = '\x18';

// The printer takes every byte from the first serial code to the last as a serial code, the bytes
// between them included.
inline constexpr bool is_serial_code(unsigned char b) {
    return b >= static_cast<unsigned char>(CODE_SERIAL_NATURAL) &&
           b <= static_cast<unsigned char>(CODE_SERIAL_LOWER);
}
inline constexpr bool is_script_code(unsigned char b) {
    return b == static_cast<unsigned char>(CODE_SUPERSCRIPT) ||
           b == static_cast<unsigned char>(CODE_SUBSCRIPT);
}

// Two-byte marks of the edit form.
inline constexpr std::string_view MARK_SUPERSCRIPT = "\xAA\xF2";
inline constexpr std::string_view MARK_SUBSCRIPT = "\xAA\xF3";
inline constexpr std::string_view MARK_SERIAL = "\xA1\xED";  // №

// Electrical symbols: AA A1 .. AA ED in the edit form, A1 A1 .. A1 ED for the printer.
inline constexpr unsigned char SYMBOL_EDIT_LEAD = 0xAA;
inline constexpr unsigned char SYMBOL_PRINTER_LEAD = 0xA1;
inline constexpr unsigned char SYMBOL_FIRST_TRAIL = 0xA1;
inline constexpr unsigned char SYMBOL_LAST_TRAIL = 0xED;

}  // namespace qvprt::model
