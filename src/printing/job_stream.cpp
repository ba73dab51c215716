#include "printing/job_stream.h"

#include <array>
#include <cstring>

#include "text/bytes.h"

namespace qvprt::printing {

using model::SegmentNode;

namespace {

template <std::size_t N>
std::uint8_t* put(std::uint8_t* p, const std::array<char, N>& field) {
    std::memcpy(p, field.data(), N);
    return p + N;
}

}  // namespace

int encoded_job_size(SegmentNode* head) {
    int total = kJobHeaderBytes + 1;
    for (SegmentNode* n = head; n != nullptr; n = n->next) {
        if (is_printable(*n)) {
            n->wide_char_count = model::count_wide_chars(*n);
            total += kRecordHeaderBytes + n->text_length;
        }
    }
    return total;
}

void encode_job_header(const model::JobSettings& s, std::uint8_t* out) {
    out[0] = 0x02;
    out[1] = 'A';
    out[2] = '0';
    out[3] = '0';
    out[4] = static_cast<std::uint8_t>(s.copies);
    out[5] = static_cast<std::uint8_t>(s.cut_mode);
    out[6] = s.density;
    out[7] = static_cast<std::uint8_t>(s.spacing);
    out[8] = s.arrangement;
}

std::size_t encode_segment_record(const SegmentNode& n, std::uint8_t* out) {
    std::uint8_t* p = out;
    *p++ = n.reserved0;
    *p++ = n.has_serial;
    *p++ = n.serial_natural;
    *p++ = n.serial_padded;
    *p++ = n.serial_upper;
    *p++ = n.serial_lower;
    *p++ = n.double_line;
    *p++ = n.script_count;
    *p++ = n.superscript_count;
    *p++ = n.subscript_count;
    *p++ = n.auto_length;
    *p++ = n.auto_font;
    *p++ = n.wide_char_count;
    *p++ = static_cast<std::uint8_t>(n.decoration);
    p = put(p, n.material);
    p = put(p, n.length_text);
    p = put(p, n.material_param);
    p = put(p, n.repeat_text);
    text::put_be16(p, n.repeat);
    p += 2;
    text::put_be16(p, n.length_dots);
    p += 2;
    *p++ = n.spare15;
    *p++ = n.spare16;
    *p++ = n.file_text_length;
    *p++ = n.text_length;
    p = put(p, n.direction);
    *p++ = n.font_size;
    *p++ = n.char_scale;
    p = put(p, n.repeat_text4);
    p = put(p, n.serial_start);
    p = put(p, n.serial_end);
    const std::size_t len = n.text_length <= n.text.size() ? n.text_length : n.text.size();
    std::memcpy(p, n.text.data(), len);
    p += len;
    return static_cast<std::size_t>(p - out);
}

int send_job(const model::JobSettings& s, SegmentNode* head, int start,
             const TransferWriter& write_transfer) {
    const int total = encoded_job_size(head);
    if (total > kMaxJobBytes) {
        return kSendTooLarge;
    }
    // A record is at most 55 + 51 bytes; the block never holds more than 4096 bytes plus the 'E'.
    std::array<std::uint8_t, kMaxTransferBytes + 1> block;
    std::array<std::uint8_t, kRecordHeaderBytes + 51> record;
    encode_job_header(s, block.data());
    std::size_t length = kJobHeaderBytes;
    int transfers = 0;
    int position = 0;
    for (SegmentNode* n = head; n != nullptr; n = n->next, ++position) {
        if (position < start || !is_printable(*n)) {
            continue;
        }
        const std::size_t rlen = encode_segment_record(*n, record.data());
        if (length + rlen > kMaxTransferBytes) {
            if (transfers == 0) {
                text::put_be16(block.data() + 2, static_cast<std::uint16_t>(total));
            }
            if (!write_transfer(block.data(), length)) {
                return kSendFailed;
            }
            length = 0;
            ++transfers;
        }
        std::memcpy(block.data() + length, record.data(), rlen);
        length += rlen;
    }
    block[length++] = 'E';
    if (transfers == 0) {
        text::put_be16(block.data() + 2, static_cast<std::uint16_t>(length));
    }
    if (length <= kJobHeaderBytes + 1) {
        return kSendNothing;
    }
    if (!write_transfer(block.data(), length) || !write_transfer(block.data(), 0)) {
        return kSendFailed;
    }
    return position;
}

}  // namespace qvprt::printing
