#pragma once
// Byte helpers for the fixed-width fields of records and streams.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace qvprt::text {

inline void fill_bytes(void* buffer, std::size_t count, unsigned char value) {
    std::memset(buffer, value, count);
}

// Clears the whole field, then copies at most `width` bytes of `src`: a shorter text leaves zero
// bytes behind it, as the printer expects.
inline void copy_field(void* field, std::size_t width, std::string_view src) {
    std::memset(field, 0, width);
    // An empty view may hold no pointer at all, which memcpy must not be given even for 0 bytes.
    const std::size_t n = src.size() < width ? src.size() : width;
    if (n != 0) {
        std::memcpy(field, src.data(), n);
    }
}

template <std::size_t N>
void copy_field(std::array<char, N>& field, std::string_view src) {
    copy_field(field.data(), N, src);
}

// The used part of a zero-filled field: the bytes before the first zero byte.
template <std::size_t N>
std::string_view field_text(const std::array<char, N>& field) {
    const void* z = std::memchr(field.data(), 0, N);
    return {field.data(),
            z ? static_cast<std::size_t>(static_cast<const char*>(z) - field.data()) : N};
}

inline void put_be16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}
inline void put_le16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void put_le32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}
inline std::uint16_t get_be16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint16_t get_le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t get_le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace qvprt::text
