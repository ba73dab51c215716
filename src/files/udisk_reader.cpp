#include "files/udisk_reader.h"

#include <algorithm>

#include "files/read_checks.h"
#include "model/stream_layout.h"
#include "text/byte_cursor.h"

namespace qvprt::files {

using model::SegmentNode;

namespace {

// The header at `p`, of which `left` bytes are there; fields past them read as zero.
model::StreamHeader read_header(const std::uint8_t* p, std::size_t left) {
    model::StreamHeader h;
    text::ByteReader r(p, std::min(left, model::kStreamHeaderBytes));
    model::stream_header_fields(r, h);
    return h;
}

bool starts_stream(const model::StreamHeader& h) {
    return h.start == model::kStreamStart && h.kind == model::kStreamKind;
}

// Every block of a file carries the settings of the one job the writer cut into blocks.
bool same_settings(const model::StreamHeader& a, const model::StreamHeader& b) {
    return a.copies == b.copies && a.cut_mode == b.cut_mode && a.density == b.density &&
           a.spacing == b.spacing && a.arrangement == b.arrangement;
}

// The material and parameter box positions a record's material names; unknown characters leave
// the positions as they were.
void take_material(const SegmentNode& n, FileJobSettings& fs) {
    const int material = model::material_position(n.material[0]);
    if (material < 0) {
        return;
    }
    fs.material_index = material;
    const char c = n.material_param[0];
    const int param =
        c != 0 ? model::kMaterials[static_cast<std::size_t>(material)].param_position(c) : -1;
    if (param >= 0) {
        fs.material_param_index = param;
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
    if (size >= 2 && !starts_stream(read_header(data, size))) {
        return fail(ReadError::NotUdiskFile);
    }
    if (size < model::kStreamHeaderBytes) {
        return fail(ReadError::TruncatedHeader);
    }
    SegmentNode* tail = nullptr;
    int total = 0;
    std::size_t at = 0;
    model::StreamHeader first;
    for (int block = 1; at < size; ++block) {
        const std::string number = std::to_string(block);
        const std::size_t left = size - at;
        const model::StreamHeader header = read_header(data + at, left);
        if (left >= 2 && !starts_stream(header)) {
            return fail(ReadError::BadBlockHeader, number);
        }
        if (left < model::kStreamHeaderBytes) {
            return fail(ReadError::TruncatedBlock, number);
        }
        const std::uint8_t* b = data + at;
        const std::size_t length = header.length;
        if (length < model::kStreamMinBytes) {
            return fail(ReadError::BadBlockLength, number, std::to_string(length));
        }
        if (length > left) {
            return fail(ReadError::TruncatedBlock, number);
        }
        // The writer never makes a block without a record.
        if (length == model::kStreamMinBytes) {
            return fail(ReadError::EmptyBlock, number);
        }
        if (block > 1 && !same_settings(header, first)) {
            return fail(ReadError::BlockSettingsDiffer, number);
        }
        if (block == 1) {
            first = header;
            FileJobSettings& fs = r.settings;
            fs.copies = header.copies;
            fs.cut_mode = header.cut_mode;
            // 1..9 as they are, 10..15 as 0x11..0x16; anything else no writer produces.
            const std::uint8_t raw = header.density;
            if ((raw >= 10 && raw <= 0x10) || raw > 0x16) {
                return fail.setting(JobField::Density, raw);
            }
            fs.density = raw > 9 ? static_cast<std::uint8_t>(raw - 7) : raw;
            fs.spacing = header.spacing;
            fs.arrangement = header.arrangement;
            if (!model::copies_in_range(*fs.copies)) {
                return fail.setting(JobField::Copies, *fs.copies);
            }
            if (!check_common_settings(fs, fail)) {
                return r;
            }
        }
        if (b[length - 1] != static_cast<std::uint8_t>(model::kStreamEnd)) {
            return fail(ReadError::BadBlockEnd, number);
        }
        const std::size_t end = length - 1;
        for (std::size_t rec = model::kStreamHeaderBytes; rec < end;) {
            if (end - rec < model::kStreamRecordBytes) {
                return fail(ReadError::BlockOverrun, number);
            }
            const std::uint8_t n = b[rec + model::kStreamTextLengthAt];
            if (n > model::kMaxTextBytes) {
                return fail(ReadError::TextTooLong, std::to_string(total + 1), std::to_string(n));
            }
            if (end - rec < model::kStreamRecordBytes + n) {
                return fail(ReadError::BlockOverrun, number);
            }
            // Past the row limit only count, to name the file's whole count.
            if (++total <= model::kMaxRows) {
                tail = append_record(r, defaults);
                text::ByteReader record(b + rec, model::kStreamRecordBytes + n);
                model::stream_record_fields(record, *tail);
                finish_record(r, *tail);
                take_material(*tail, r.settings);
            }
            rec += model::kStreamRecordBytes + n;
        }
        at += length;
    }
    if (total > model::kMaxRows) {
        return fail(ReadError::BadCount, std::to_string(total));
    }
    return r;
}

}  // namespace qvprt::files
