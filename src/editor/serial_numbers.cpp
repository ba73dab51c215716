#include "editor/serial_numbers.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace qvprt::editor {
namespace {

void CopyField(std::array<char, 4>& field, std::string_view text) {
    field.fill('\0');
    for (std::size_t i = 0; i < text.size() && i + 1 < field.size(); ++i) {
        field[i] = text[i];
    }
}

bool AllDigits(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// The first value of a range text, as the printer counts it: a number for the number types, the
// character code for letters.
std::optional<int> ValueOf(SerialType type, std::string_view text) {
    if (type == SerialType::Natural || type == SerialType::Padded) {
        if (!AllDigits(text) || text.size() > 3) {
            return std::nullopt;
        }
        return std::atoi(std::string(text).c_str());
    }
    if (text.size() != 1) {
        return std::nullopt;
    }
    const char c = text[0];
    const bool ok = type == SerialType::Lower ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z');
    return ok ? std::optional<int>(static_cast<unsigned char>(c)) : std::nullopt;
}

std::string Printed(SerialType type, int value) {
    char buf[8];
    switch (type) {
        case SerialType::Natural:
            std::snprintf(buf, sizeof buf, "%d", value);
            break;
        case SerialType::Padded:
            std::snprintf(buf, sizeof buf, "%03d", value);
            break;
        case SerialType::Lower:
        case SerialType::Upper:
            buf[0] = static_cast<char>(value);
            buf[1] = '\0';
            break;
    }
    return buf;
}

}  // namespace

SerialType InitialSerialType(const SerialChoice& c) {
    SerialType t = SerialType::Natural;
    if (c.natural != 0)
        t = SerialType::Natural;
    if (c.padded != 0)
        t = SerialType::Padded;
    if (c.upper != 0)
        t = SerialType::Upper;
    if (c.lower != 0)
        t = SerialType::Lower;
    return t;
}

SerialEditMode EditModeFor(SerialType type) {
    switch (type) {
        case SerialType::Lower:
            return {false, 1, false};
        case SerialType::Upper:
            return {false, 1, true};
        case SerialType::Natural:
        case SerialType::Padded:
            break;
    }
    return {true, 3, false};
}

SerialAccept AcceptSerial(SerialType type, std::string_view start, std::string_view end) {
    SerialChoice c;
    c.natural = type == SerialType::Natural;
    c.padded = type == SerialType::Padded;
    c.upper = type == SerialType::Upper;
    c.lower = type == SerialType::Lower;
    // A natural number is kept without its leading zeros; the other types as typed.
    auto rewrite = [type](std::string_view s) {
        if (type == SerialType::Natural && AllDigits(s)) {
            return std::to_string(std::atoi(std::string(s).c_str()));
        }
        return std::string(s);
    };
    if (start.empty()) {
        return std::string_view("开始序号不能为空！");
    }
    CopyField(c.start, rewrite(start));
    if (end.empty()) {
        return std::string_view("结束序号不能为空！");
    }
    CopyField(c.end, rewrite(end));
    return c;
}

std::string SerialPreview(SerialType type, std::string_view start, std::string_view end) {
    const auto first = ValueOf(type, start);
    const auto last = ValueOf(type, end);
    if (!first || !last) {
        return {};
    }
    const int step = *last >= *first ? 1 : -1;
    const int count = std::abs(*last - *first) + 1;
    std::string s = "共" + std::to_string(count) + "个：" + Printed(type, *first);
    if (count >= 2) {
        s += ", " + Printed(type, *first + step);
    }
    if (count == 3) {
        s += ", " + Printed(type, *last);
    } else if (count > 3) {
        s += ", … " + Printed(type, *last);
    }
    return s;
}

}  // namespace qvprt::editor
