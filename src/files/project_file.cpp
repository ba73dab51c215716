#include "files/project_file.h"

#include <array>
#include <cstring>

#include "files/file_messages.h"
#include "files/read_checks.h"
#include "files/safe_write.h"
#include "text/bytes.h"

namespace qvprt::files {

using model::SegmentNode;

namespace {

template <std::size_t N>
void put(std::vector<std::uint8_t>& out, const std::array<char, N>& field) {
    out.insert(out.end(), field.begin(), field.end());
}
void put8(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    }
}

void encode_record(std::vector<std::uint8_t>& out, const SegmentNode& n) {
    put8(out, n.serial_upper);
    put8(out, n.spare15);
    put8(out, static_cast<std::uint8_t>(n.decoration));
    put8(out, n.reserved0);
    put8(out, n.spare16);
    put8(out, n.double_line);
    put8(out, n.auto_font);
    put8(out, n.font_size);
    put8(out, n.char_scale);
    put8(out, n.wide_char_count);
    put8(out, n.serial_lower);
    put(out, n.material_param);
    put(out, n.material);
    put8(out, n.serial_natural);
    put16(out, n.total_count);
    put(out, n.repeat_text4);
    put16(out, n.repeat);
    put(out, n.repeat_text);
    put8(out, n.file_text_length);
    put8(out, static_cast<std::uint8_t>(n.direction[1]));
    put8(out, n.script_count);
    put16(out, n.feed_dots);
    put16(out, n.length_dots);
    put8(out, n.auto_length);
    put(out, n.length_text);
    put(out, n.serial_end);
    put16(out, n.serial_count);
    put(out, n.serial_start);
    put8(out, n.serial_width);
    put8(out, n.serial_padded);
    // The text field holds 51 bytes; a record never claims more than 50 of them.
    const std::uint8_t len =
        n.text_length <= model::kMaxTextBytes ? n.text_length : model::kMaxTextBytes;
    put8(out, len);
    out.insert(out.end(), n.text.begin(), n.text.begin() + len);
    put16(out, n.content_dots);
    put16(out, n.content_dots2);
    put8(out, n.subscript_count);
    put8(out, n.superscript_count);
    put8(out, static_cast<std::uint8_t>(n.direction[0]));
    put8(out, static_cast<std::uint8_t>(n.spare_mark));
}

// Reads fields in order from a record already known to be complete.
class Fields {
  public:
    explicit Fields(const std::uint8_t* p) : p_(p) {}
    std::uint8_t u8() { return *p_++; }
    char ch() { return static_cast<char>(*p_++); }
    std::uint16_t u16() {
        const std::uint16_t v = text::get_le16(p_);
        p_ += 2;
        return v;
    }
    template <std::size_t N>
    void field(std::array<char, N>& f) {
        std::memcpy(f.data(), p_, N);
        p_ += N;
    }
    void bytes(char* out, std::size_t n) {
        std::memcpy(out, p_, n);
        p_ += n;
    }

  private:
    const std::uint8_t* p_;
};

void decode_record(const std::uint8_t* p, SegmentNode& n) {
    Fields f(p);
    n.serial_upper = f.u8();
    n.spare15 = f.u8();
    n.decoration = f.ch();
    n.reserved0 = f.u8();
    n.spare16 = f.u8();
    n.double_line = f.u8();
    n.auto_font = f.u8();
    n.font_size = f.u8();
    n.char_scale = f.u8();
    n.wide_char_count = f.u8();
    n.serial_lower = f.u8();
    f.field(n.material_param);
    f.field(n.material);
    n.serial_natural = f.u8();
    n.total_count = f.u16();
    f.field(n.repeat_text4);
    n.repeat = f.u16();
    f.field(n.repeat_text);
    n.file_text_length = f.u8();
    n.direction[1] = f.ch();
    n.script_count = f.u8();
    n.feed_dots = f.u16();
    n.length_dots = f.u16();
    n.auto_length = f.u8();
    f.field(n.length_text);
    f.field(n.serial_end);
    n.serial_count = f.u16();
    f.field(n.serial_start);
    n.serial_width = f.u8();
    n.serial_padded = f.u8();
    n.text_length = f.u8();
    n.text.fill(0);
    f.bytes(n.text.data(), n.text_length);
    n.content_dots = f.u16();
    n.content_dots2 = f.u16();
    n.subscript_count = f.u8();
    n.superscript_count = f.u8();
    n.direction[0] = f.ch();
    n.spare_mark = f.ch();
}

}  // namespace

std::vector<std::uint8_t> encode_project_file(const model::JobSettings& s,
                                              const SegmentNode* head) {
    std::vector<std::uint8_t> out;
    out.reserve(kProjectHeaderBytes + static_cast<std::size_t>(model::segment_count(head)) *
                                          (kProjectRecordBytes + model::kMaxTextBytes));
    put32(out, s.spacing);
    put8(out, s.density);
    put8(out, static_cast<std::uint8_t>(s.cut_mode));
    put8(out, s.arrangement);
    put32(out, s.material_index);
    put32(out, s.material_param_index);
    // The records written, so that count and records always agree.
    put32(out, model::segment_count(head));
    for (const SegmentNode* n = head; n != nullptr; n = n->next) {
        encode_record(out, *n);
    }
    return out;
}

WriteResult save_project_file(const std::string& path, const model::JobSettings& s,
                              const SegmentNode* head) {
    return write_file_safely(path, encode_project_file(s, head));
}

ReadResult parse_project_file(std::span<const std::uint8_t> bytes,
                              const model::JobSettings& defaults, std::string_view path) {
    ReadResult r;
    r.kind = FileKind::Project;
    ReadFailure fail{r, path};
    if (bytes.size() < kProjectHeaderBytes) {
        return fail(ReadError::TruncatedHeader);
    }
    const std::uint8_t* p = bytes.data();
    FileJobSettings& fs = r.settings;
    fs.spacing = static_cast<std::int32_t>(text::get_le32(p));
    fs.density = p[4];
    fs.cut_mode = static_cast<char>(p[5]);
    fs.arrangement = p[6];
    const auto material = static_cast<std::int32_t>(text::get_le32(p + 7));
    const auto param = static_cast<std::int32_t>(text::get_le32(p + 11));
    const auto count = static_cast<std::int32_t>(text::get_le32(p + 15));
    // The settings first: they tell a file of another kind at once.
    if (!check_common_settings(fs, fail)) {
        return r;
    }
    if (material < 0 || material > 2) {
        return fail.setting(JobField::MaterialIndex, material);
    }
    if (param < 0 ||
        param >= static_cast<std::int32_t>(model::material_param_entries(material).size())) {
        return fail.setting(JobField::MaterialParamIndex, param);
    }
    fs.material_index = material;
    fs.material_param_index = param;
    if (count < 0 || count > model::kMaxRows) {
        return fail(ReadError::BadCount, std::to_string(count));
    }

    std::size_t at = kProjectHeaderBytes;
    SegmentNode* tail = nullptr;
    for (int i = 1; i <= count; ++i) {
        const std::size_t left = bytes.size() - at;
        if (left < static_cast<std::size_t>(kProjectRecordBytes - 8)) {
            return fail(ReadError::TruncatedRecord, std::to_string(i));
        }
        const std::uint8_t n = p[at + 57];
        if (n > model::kMaxTextBytes) {
            return fail(ReadError::TextTooLong, std::to_string(i), std::to_string(n));
        }
        if (left < static_cast<std::size_t>(kProjectRecordBytes) + n) {
            return fail(ReadError::TruncatedRecord, std::to_string(i));
        }
        tail = append_record(r, defaults, tail);
        decode_record(p + at, *tail);
        finish_record(r, *tail);
        at += static_cast<std::size_t>(kProjectRecordBytes) + n;
    }
    if (at != bytes.size()) {
        return fail(ReadError::TrailingBytes);
    }
    return r;
}

}  // namespace qvprt::files
