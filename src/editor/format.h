#pragma once
// The editor's messages with numbers in them, from their printf formats (UTF-8).

#include <cstdio>
#include <string>

namespace qvprt::editor {

template <typename... Ints>
std::string Format(const char* utf8_format, Ints... values) {
    char buf[256];
    std::snprintf(buf, sizeof buf, utf8_format, values...);
    return buf;
}

}  // namespace qvprt::editor
