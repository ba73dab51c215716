#pragma once
// The layout of the printer's byte stream, which a USB job and every block of a U-disk print file
// share: a nine-byte header, one record of 55 bytes plus its text per segment, a closing 'E'.
// Each layout is one list of fields; the encoders, the reader, the sizes and the offsets below all
// run that list (text/byte_cursor.h).

#include <array>
#include <cstddef>
#include <cstdint>

#include "model/segment_list.h"
#include "text/byte_cursor.h"

namespace qvprt::model {

inline constexpr std::uint8_t kStreamStart = 0x02;
inline constexpr char kStreamKind = 'A';
inline constexpr char kStreamEnd = 'E';

struct StreamHeader {
    std::uint8_t start = kStreamStart;
    char kind = kStreamKind;
    std::uint16_t length = 0x3030;  // "00" until the length is known
    std::uint8_t copies = 0;
    char cut_mode = kCutHalf;
    std::uint8_t density = 0;
    std::uint8_t spacing = 0;
    std::uint8_t arrangement = 0;
};

// Multi-byte numbers of the stream are big-endian.
template <typename Cursor, typename Header>
constexpr void stream_header_fields(Cursor& c, Header& h) {
    c.u8(h.start);
    c.ch(h.kind);
    c.be16(h.length);
    c.u8(h.copies);
    c.ch(h.cut_mode);
    c.u8(h.density);
    c.u8(h.spacing);
    c.u8(h.arrangement);
}

// The header of a job with these settings; its length is the placeholder until it is known.
inline StreamHeader stream_header(const JobSettings& s) {
    StreamHeader h;
    h.copies = static_cast<std::uint8_t>(s.copies);
    h.cut_mode = s.cut_mode;
    h.density = s.density;
    h.spacing = static_cast<std::uint8_t>(s.spacing);
    h.arrangement = s.arrangement;
    return h;
}

// One segment's record; the text follows the fixed part, text_length bytes of it.
template <typename Cursor, typename Node>
constexpr void stream_record_fields(Cursor& c, Node& n) {
    c.u8(n.reserved0);
    c.u8(n.has_serial);
    c.u8(n.serial_natural);
    c.u8(n.serial_padded);
    c.u8(n.serial_upper);
    c.u8(n.serial_lower);
    c.u8(n.double_line);
    c.u8(n.script_count);
    c.u8(n.superscript_count);
    c.u8(n.subscript_count);
    c.u8(n.auto_length);
    c.u8(n.auto_font);
    c.u8(n.wide_char_count);
    c.ch(n.decoration);
    c.field(n.material);
    c.field(n.length_text);
    c.field(n.material_param);
    c.field(n.repeat_text);
    c.be16(n.repeat);
    c.be16(n.length_dots);
    c.u8(n.spare15);
    c.u8(n.spare16);
    c.u8(n.file_text_length);
    c.u8(n.text_length);
    c.field(n.direction);
    c.u8(n.font_size);
    c.u8(n.char_scale);
    c.field(n.repeat_text4);
    c.field(n.serial_start);
    c.field(n.serial_end);
    c.text(n.text, n.text_length);
}

inline constexpr auto kStreamHeaderLayout = [](auto& c, auto& h) { stream_header_fields(c, h); };
inline constexpr auto kStreamRecordLayout = [](auto& c, auto& n) { stream_record_fields(c, n); };

inline constexpr std::size_t kStreamHeaderBytes =
    text::layout_bytes<StreamHeader>(kStreamHeaderLayout);
inline constexpr std::size_t kStreamLengthAt =
    text::layout_offset(kStreamHeaderLayout, &StreamHeader::length);
// The fixed part of a record, before its text.
inline constexpr std::size_t kStreamRecordBytes =
    text::layout_bytes<SegmentNode>(kStreamRecordLayout);
inline constexpr std::size_t kStreamTextLengthAt =
    text::layout_offset(kStreamRecordLayout, &SegmentNode::text_length);
// The longest record: the fixed part and a whole text field.
inline constexpr std::size_t kStreamRecordMaxBytes =
    kStreamRecordBytes + std::tuple_size_v<decltype(SegmentNode::text)>;
// A header and the closing byte: the shortest stream that means anything.
inline constexpr std::size_t kStreamMinBytes = kStreamHeaderBytes + 1;

static_assert(kStreamHeaderBytes == 9 && kStreamRecordBytes == 55, "the printer reads these sizes");

}  // namespace qvprt::model
