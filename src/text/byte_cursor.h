#pragma once
// One cursor over the bytes of a fixed-layout record, in three kinds with the same operations: a
// writer, a reader and a counter. A record's layout is one list of fields run with any of them, so
// encoding, decoding, the record's size and the offset of a field all follow from that one list.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/bytes.h"

namespace qvprt::text {

// Bytes a text of `length` takes in a field of `room` bytes: never more than the field holds.
constexpr std::size_t text_bytes(std::uint8_t length, std::size_t room) {
    return std::min<std::size_t>(length, room);
}

// Writes into a buffer the caller has made large enough (ByteCounter tells how large).
class ByteWriter {
  public:
    explicit ByteWriter(std::uint8_t* out) : start_(out), p_(out) {}

    void u8(std::uint8_t v) { *p_++ = v; }
    void ch(char v) { *p_++ = static_cast<std::uint8_t>(v); }
    void be16(std::uint16_t v) {
        put_be16(p_, v);
        p_ += 2;
    }
    void le16(std::uint16_t v) {
        put_le16(p_, v);
        p_ += 2;
    }
    void le32(std::int32_t v) {
        put_le32(p_, static_cast<std::uint32_t>(v));
        p_ += 4;
    }
    template <std::size_t N>
    void field(const std::array<char, N>& f) {
        put(f.data(), N);
    }
    // The used part of a text field: `length` bytes, as many as the field holds.
    template <std::size_t N>
    void text(const std::array<char, N>& f, std::uint8_t length) {
        put(f.data(), text_bytes(length, N));
    }
    // A length byte and the text after it; the length written never claims more than `limit`.
    template <std::size_t N>
    void counted_text(std::uint8_t length, const std::array<char, N>& f, std::size_t limit) {
        const std::size_t n = text_bytes(length, std::min(limit, N));
        u8(static_cast<std::uint8_t>(n));
        put(f.data(), n);
    }

    std::size_t written() const { return static_cast<std::size_t>(p_ - start_); }

  private:
    void put(const char* src, std::size_t n) {
        if (n != 0) {
            std::memcpy(p_, src, n);
        }
        p_ += n;
    }

    std::uint8_t* start_;
    std::uint8_t* p_;
};

// Reads from `size` bytes. The readers check a record's length before they decode it; should a
// field still lie past the end, it reads as zero bytes and ok() turns false, so nothing is read
// beyond the buffer.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : p_(bytes), end_(bytes + size) {}

    void u8(std::uint8_t& v) { take(&v, 1); }
    void ch(char& v) { take(&v, 1); }
    void be16(std::uint16_t& v) {
        std::uint8_t b[2];
        take(b, 2);
        v = get_be16(b);
    }
    void le16(std::uint16_t& v) {
        std::uint8_t b[2];
        take(b, 2);
        v = get_le16(b);
    }
    void le32(std::int32_t& v) {
        std::uint8_t b[4];
        take(b, 4);
        v = static_cast<std::int32_t>(get_le32(b));
    }
    template <std::size_t N>
    void field(std::array<char, N>& f) {
        take(f.data(), N);
    }
    // `length` bytes into the field, as many as it holds; the rest of the field is cleared.
    template <std::size_t N>
    void text(std::array<char, N>& f, std::uint8_t length) {
        f.fill(0);
        take(f.data(), text_bytes(length, N));
    }
    template <std::size_t N>
    void counted_text(std::uint8_t& length, std::array<char, N>& f, std::size_t limit) {
        u8(length);
        f.fill(0);
        take(f.data(), text_bytes(length, std::min(limit, N)));
    }

    bool ok() const { return ok_; }

  private:
    void take(void* out, std::size_t n) {
        if (n > static_cast<std::size_t>(end_ - p_)) {
            std::memset(out, 0, n);
            p_ = end_;
            ok_ = false;
            return;
        }
        if (n != 0) {
            std::memcpy(out, p_, n);
        }
        p_ += n;
    }

    const std::uint8_t* p_;
    const std::uint8_t* end_;
    bool ok_ = true;
};

// Counts the bytes a record takes and, given the address of one of its fields, where that field
// starts. Runs at compile time, so sizes and offsets are constants.
class ByteCounter {
  public:
    constexpr ByteCounter() = default;
    constexpr explicit ByteCounter(const void* field) : target_(field) {}

    constexpr void u8(const std::uint8_t& v) { step(&v, 1); }
    constexpr void ch(const char& v) { step(&v, 1); }
    constexpr void be16(const std::uint16_t& v) { step(&v, 2); }
    constexpr void le16(const std::uint16_t& v) { step(&v, 2); }
    constexpr void le32(const std::int32_t& v) { step(&v, 4); }
    template <std::size_t N>
    constexpr void field(const std::array<char, N>& f) {
        step(&f, N);
    }
    template <std::size_t N>
    constexpr void text(const std::array<char, N>& f, std::uint8_t length) {
        step(&f, text_bytes(length, N));
    }
    template <std::size_t N>
    constexpr void counted_text(const std::uint8_t& length, const std::array<char, N>& f,
                                std::size_t limit) {
        step(&length, 1);
        step(&f, text_bytes(length, std::min(limit, N)));
    }

    constexpr std::size_t bytes() const { return at_; }
    // Where the field given to the constructor starts; the size when the list never named it.
    constexpr std::size_t offset() const { return found_ ? offset_ : at_; }

  private:
    constexpr void step(const void* field, std::size_t n) {
        if (!found_ && field == target_) {
            found_ = true;
            offset_ = at_;
        }
        at_ += n;
    }

    const void* target_ = nullptr;
    std::size_t at_ = 0;
    std::size_t offset_ = 0;
    bool found_ = false;
};

// The bytes a layout's field list takes for a default `Record` (its texts empty).
template <typename Record, typename Fields>
constexpr std::size_t layout_bytes(Fields fields) {
    Record r{};
    ByteCounter c;
    fields(c, r);
    return c.bytes();
}

// Where `member` starts in a layout's field list.
template <typename Record, typename Field, typename Fields>
constexpr std::size_t layout_offset(Fields fields, Field Record::*member) {
    Record r{};
    ByteCounter c(&(r.*member));
    fields(c, r);
    return c.offset();
}

}  // namespace qvprt::text
