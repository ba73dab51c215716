#pragma once
// What every spreadsheet fuzz target checks of a result: a failure has a message and no rows; a
// sheet stays within its limits and holds valid UTF-8.
#include <cstdlib>

#include "files/sheet_parts.h"

namespace qvprt::files::fuzz {

inline void check_parsed(const sheet::Parsed& p, bool csv) {
    if (p.error != SheetError::None) {
        if (!p.sheet.rows.empty()) {
            std::abort();
        }
        return;
    }
    if (p.sheet.rows.size() > static_cast<std::size_t>(kSheetRows) ||
        !sheet::is_utf8(p.sheet.name)) {
        std::abort();
    }
    for (const SheetRow& row : p.sheet.rows) {
        for (const SheetCell& c : row) {
            if (!sheet::is_utf8(c.text) ||
                (csv && c.type != CellType::Empty && c.type != CellType::String)) {
                std::abort();
            }
            if (c.type == CellType::Date) {
                (void)iso_text(c.date);
            }
        }
    }
}

// Splits the input at NUL bytes into at most `n` parts.
inline std::vector<std::string> split_parts(const std::uint8_t* data, std::size_t size,
                                            std::size_t n) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < n) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(n);
    return parts;
}

}  // namespace qvprt::files::fuzz
