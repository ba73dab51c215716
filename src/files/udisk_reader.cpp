#include "files/udisk_reader.h"

#include <cstring>

#include "files/read_checks.h"
#include "text/bytes.h"

namespace qvprt::files {

using model::SegmentNode;

namespace {

constexpr std::size_t kHeaderBytes = 9;
constexpr std::size_t kRecordBytes = 55;  // plus text_length

template <std::size_t N>
const std::uint8_t* take(const std::uint8_t* p, std::array<char, N>& field) {
    std::memcpy(field.data(), p, N);
    return p + N;
}

void decode_record(const std::uint8_t* p, SegmentNode& n) {
    n.reserved0 = *p++;
    n.has_serial = *p++;
    n.serial_natural = *p++;
    n.serial_padded = *p++;
    n.serial_upper = *p++;
    n.serial_lower = *p++;
    n.double_line = *p++;
    n.script_count = *p++;
    n.superscript_count = *p++;
    n.subscript_count = *p++;
    n.auto_length = *p++;
    n.auto_font = *p++;
    n.wide_char_count = *p++;
    n.decoration = static_cast<char>(*p++);
    p = take(p, n.material);
    p = take(p, n.length_text);
    p = take(p, n.material_param);
    p = take(p, n.repeat_text);
    n.repeat = text::get_be16(p);
    p += 2;
    n.length_dots = text::get_be16(p);
    p += 2;
    n.spare15 = *p++;
    n.spare16 = *p++;
    n.file_text_length = *p++;
    n.text_length = *p++;
    p = take(p, n.direction);
    n.font_size = *p++;
    n.char_scale = *p++;
    p = take(p, n.repeat_text4);
    p = take(p, n.serial_start);
    p = take(p, n.serial_end);
    n.text.fill(0);
    std::memcpy(n.text.data(), p, n.text_length);
}

// The material and parameter box positions a record's material names; unknown characters leave
// the positions as they were.
void take_material(const SegmentNode& n, FileJobSettings& fs) {
    static constexpr struct {
        char material;
        const char* params;  // the parameter characters in box order
    } kTable[] = {{'T', "3456"}, {'L', "691"}, {'S', "3456"}};
    for (int i = 0; i < 3; ++i) {
        if (n.material[0] != kTable[i].material) {
            continue;
        }
        fs.material_index = i;
        const char c = n.material_param[0];
        const char* at = c != 0 ? std::strchr(kTable[i].params, c) : nullptr;
        if (at != nullptr) {
            fs.material_param_index = static_cast<std::int32_t>(at - kTable[i].params);
        }
        return;
    }
}

}  // namespace

ReadResult parse_udisk_file(std::span<const std::uint8_t> bytes, const model::JobSettings& defaults,
                            std::string_view path) {
    ReadResult r;
    r.kind = FileKind::Udisk;
    ReadFailure fail{r, path};
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    if (size >= 2 && (data[0] != 0x02 || data[1] != 0x41)) {
        return fail(ReadError::NotUdiskFile);
    }
    if (size < kHeaderBytes) {
        return fail(ReadError::TruncatedHeader);
    }
    SegmentNode* tail = nullptr;
    int total = 0;
    std::size_t at = 0;
    for (int block = 1; at < size; ++block) {
        const std::string number = std::to_string(block);
        const std::size_t left = size - at;
        if (left >= 2 && (data[at] != 0x02 || data[at + 1] != 0x41)) {
            return fail(ReadError::BadBlockHeader, number);
        }
        if (left < kHeaderBytes) {
            return fail(ReadError::TruncatedBlock, number);
        }
        const std::uint8_t* b = data + at;
        const std::size_t length = text::get_be16(b + 2);
        if (length < kHeaderBytes + 1) {
            return fail(ReadError::BadBlockLength, number, std::to_string(length));
        }
        if (length > left) {
            return fail(ReadError::TruncatedBlock, number);
        }
        if (block == 1) {
            FileJobSettings& fs = r.settings;
            fs.copies = b[4];
            fs.cut_mode = static_cast<char>(b[5]);
            // 1..9 as they are, 10..15 as 0x11..0x16; anything else no writer produces.
            const std::uint8_t raw = b[6];
            if ((raw >= 10 && raw <= 0x10) || raw > 0x16) {
                return fail.setting(JobField::Density, raw);
            }
            fs.density = raw > 9 ? static_cast<std::uint8_t>(raw - 7) : raw;
            fs.spacing = b[7];
            fs.arrangement = b[8];
            if (!model::copies_in_range(*fs.copies)) {
                return fail.setting(JobField::Copies, *fs.copies);
            }
            if (!check_common_settings(fs, fail)) {
                return r;
            }
        }
        if (b[length - 1] != 'E') {
            return fail(ReadError::BadBlockEnd, number);
        }
        const std::size_t end = length - 1;
        for (std::size_t rec = kHeaderBytes; rec < end;) {
            if (end - rec < kRecordBytes) {
                return fail(ReadError::BlockOverrun, number);
            }
            const std::uint8_t n = b[rec + 37];
            if (n > model::kMaxTextBytes) {
                return fail(ReadError::TextTooLong, std::to_string(total + 1), std::to_string(n));
            }
            if (end - rec < kRecordBytes + n) {
                return fail(ReadError::BlockOverrun, number);
            }
            // Past the row limit only count, to name the file's whole count.
            if (++total <= model::kMaxRows) {
                tail = append_record(r, defaults, tail);
                decode_record(b + rec, *tail);
                finish_record(r, *tail);
                take_material(*tail, r.settings);
            }
            rec += kRecordBytes + n;
        }
        at += length;
    }
    if (total > model::kMaxRows) {
        return fail(ReadError::BadCount, std::to_string(total));
    }
    return r;
}

}  // namespace qvprt::files
