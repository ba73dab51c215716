#pragma once
// The layout of the project file: a header of job settings and the record count, then every
// record field by field. Numbers are little-endian. Each layout is one list of fields; the writer,
// the reader, the sizes and the offsets below all run that list (text/byte_cursor.h).

#include <cstddef>
#include <cstdint>

#include "model/segment_list.h"
#include "model/text_codes.h"
#include "text/byte_cursor.h"

namespace qvprt::files {

struct ProjectHeader {
    std::int32_t spacing = 0;
    std::uint8_t density = 0;
    char cut_mode = 0;
    std::uint8_t arrangement = 0;
    std::int32_t material_index = 0;
    std::int32_t material_param_index = 0;
    std::int32_t count = 0;
};

template <typename Cursor, typename Header>
constexpr void project_header_fields(Cursor& c, Header& h) {
    c.le32(h.spacing);
    c.u8(h.density);
    c.ch(h.cut_mode);
    c.u8(h.arrangement);
    c.le32(h.material_index);
    c.le32(h.material_param_index);
    c.le32(h.count);
}

// A record's text follows its length byte; the length never claims more than kMaxTextBytes.
template <typename Cursor, typename Node>
constexpr void project_record_fields(Cursor& c, Node& n) {
    c.u8(n.serial_upper);
    c.u8(n.spare15);
    c.ch(n.decoration);
    c.u8(n.reserved0);
    c.u8(n.spare16);
    c.u8(n.double_line);
    c.u8(n.auto_font);
    c.u8(n.font_size);
    c.u8(n.char_scale);
    c.u8(n.wide_char_count);
    c.u8(n.serial_lower);
    c.field(n.material_param);
    c.field(n.material);
    c.u8(n.serial_natural);
    c.le16(n.total_count);
    c.field(n.repeat_text4);
    c.le16(n.repeat);
    c.field(n.repeat_text);
    c.u8(n.file_text_length);
    c.ch(n.direction[1]);
    c.u8(n.script_count);
    c.le16(n.feed_dots);
    c.le16(n.length_dots);
    c.u8(n.auto_length);
    c.field(n.length_text);
    c.field(n.serial_end);
    c.le16(n.serial_count);
    c.field(n.serial_start);
    c.u8(n.serial_width);
    c.u8(n.serial_padded);
    c.counted_text(n.text_length, n.text, static_cast<std::size_t>(model::kMaxTextBytes));
    c.le16(n.content_dots);
    c.le16(n.content_dots2);
    c.u8(n.subscript_count);
    c.u8(n.superscript_count);
    c.ch(n.direction[0]);
    c.ch(n.spare_mark);
}

inline constexpr auto kProjectHeaderLayout = [](auto& c, auto& h) { project_header_fields(c, h); };
inline constexpr auto kProjectRecordLayout = [](auto& c, auto& n) { project_record_fields(c, n); };

inline constexpr std::size_t kProjectHeaderBytes =
    text::layout_bytes<ProjectHeader>(kProjectHeaderLayout);
// A record without its text.
inline constexpr std::size_t kProjectRecordBytes =
    text::layout_bytes<model::SegmentNode>(kProjectRecordLayout);
inline constexpr std::size_t kProjectTextLengthAt =
    text::layout_offset(kProjectRecordLayout, &model::SegmentNode::text_length);

// Bytes `n` takes in the file.
inline std::size_t project_record_bytes(const model::SegmentNode& n) {
    text::ByteCounter c;
    project_record_fields(c, n);
    return c.bytes();
}

static_assert(kProjectHeaderBytes == 19 && kProjectRecordBytes == 66,
              "saved projects hold these sizes");

}  // namespace qvprt::files
