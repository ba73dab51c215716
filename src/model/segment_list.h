#pragma once
// The record of one segment and the doubly linked list of records in grid order. Records never
// move while others are inserted or removed: the editor keeps pointers to the current one.

#include <array>
#include <cstdint>

#include "model/job_settings.h"
#include "model/text_codes.h"

namespace qvprt::model {

inline constexpr int kMaxRows = 1000;
inline constexpr int kMinRepeat = 1;
inline constexpr int kMaxRepeat = 100;
inline constexpr int kMinLengthMm = 6;
inline constexpr int kMaxLengthMm = 150;

struct SegmentNode {
    std::uint8_t reserved0 = 0;
    std::uint8_t has_serial = 0;
    std::uint8_t serial_natural = 0;
    std::uint8_t serial_padded = 0;
    std::uint8_t serial_upper = 0;
    std::uint8_t serial_lower = 0;
    std::uint8_t double_line = 0;
    std::uint8_t script_count = 0;
    std::uint8_t superscript_count = 0;
    std::uint8_t subscript_count = 0;
    std::uint8_t auto_length = 0;
    std::uint8_t auto_font = 0;
    std::uint8_t wide_char_count = 0;
    char decoration = kDecorationNone;
    std::uint8_t serial_width = 0;
    std::uint8_t spare15 = 0;
    std::uint8_t spare16 = 0;
    std::uint8_t file_text_length = 0;
    std::uint8_t text_length = 0;
    char spare_mark = 'N';
    std::array<char, 2> direction = kHorizontal;
    std::uint8_t font_size = 0;
    std::uint8_t char_scale = 0;
    std::array<char, 4> material{};
    std::array<char, 4> length_text{};
    std::array<char, 3> material_param{};
    std::array<char, 5> repeat_text{};
    std::uint16_t repeat = 1;
    std::uint16_t content_dots = 0;
    std::uint16_t content_dots2 = 0;
    std::uint16_t length_dots = 0;
    std::uint16_t feed_dots = 0;
    std::uint16_t total_count = 0;
    std::uint16_t serial_count = 0;
    std::array<char, 4> serial_start{};
    std::array<char, 4> serial_end{};
    std::array<char, kMaxTextBytes + 1> text{};
    std::array<char, 5> repeat_text4{};
    std::uint8_t enabled = 1;
    std::uint8_t is_current = 0;
    SegmentNode* prev = nullptr;
    SegmentNode* next = nullptr;
    bool operator==(const SegmentNode&) const = default;
};

// Writes the repeat count in its three places at once.
void set_repeat(SegmentNode& n, int repeat);

void init_segment_defaults(SegmentNode& n, const JobSettings& s);

// The records of a job in grid order. The list alone makes and frees records; each stays at its
// address until it is erased, so the editor and the encoders may hold pointers and walk the
// `next`/`prev` links.
class SegmentList {
  public:
    SegmentList() = default;
    ~SegmentList() { clear(); }
    SegmentList(SegmentList&& other) noexcept;
    SegmentList& operator=(SegmentList&& other) noexcept;
    SegmentList(const SegmentList&) = delete;
    SegmentList& operator=(const SegmentList&) = delete;

    SegmentNode* head() { return head_; }
    const SegmentNode* head() const { return head_; }
    SegmentNode* tail() { return tail_; }
    const SegmentNode* tail() const { return tail_; }
    bool empty() const { return head_ == nullptr; }
    int size() const { return size_; }

    // A new record with the defaults of `s`, linked directly after `record`, or made the head when
    // `record` is null.
    SegmentNode* insert_after(SegmentNode* record, const JobSettings& s);
    SegmentNode* push_back(const JobSettings& s) { return insert_after(tail_, s); }
    // Unlinks and frees `record`; answers the record that takes its place: the next one, else the
    // previous one, else nullptr when it was alone.
    SegmentNode* erase(SegmentNode* record);
    // Moves every record of `other` to the end of this list, where they keep their addresses;
    // answers the first of them (nullptr when `other` was empty).
    SegmentNode* splice_back(SegmentList&& other);
    void clear();

    // Follows `next` `index` times from the head, stopping at the tail; a negative index gives the
    // tail, an empty list nullptr.
    SegmentNode* at(int index);
    const SegmentNode* at(int index) const;

  private:
    SegmentNode* head_ = nullptr;
    SegmentNode* tail_ = nullptr;
    int size_ = 0;
};

// Records from `head` to the tail, by their links.
int segment_count(const SegmentNode* head);
// Bytes of 0xA0 or above among the text's first text_length bytes, halved: the printer's own count
// of double-byte characters.
std::uint8_t count_wide_chars(const SegmentNode& n);

}  // namespace qvprt::model
