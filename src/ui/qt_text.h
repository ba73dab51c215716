#pragma once
// The one place where the grid's and the editor's GBK meets Qt's UTF-16.

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "text/gbk.h"

namespace qvprt::ui {

inline QString FromGbk(std::string_view gbk) {
    return QString::fromStdU16String(text::gbk_to_utf16(gbk));
}

// GBK bytes of a text the user typed, or nothing when it holds a character GBK has no code for.
inline std::optional<std::string> ToGbk(const QString& s) {
    text::EncodeResult r = text::encode_gbk(s.toStdU16String());
    if (!r.ok) {
        return std::nullopt;
    }
    return std::move(r.bytes);
}

// For texts that only an integer parse reads: a character without a code becomes '?', which no
// parse accepts.
inline std::string ToGbkLossy(const QString& s) {
    return text::gbk(s.toStdString());
}

inline QString FromUtf8(const char* s) {
    return QString::fromUtf8(s);
}

}  // namespace qvprt::ui
