#include "printing/job_stream.h"

#include <array>
#include <cstring>

#include "text/bytes.h"

namespace qvprt::printing {

using model::SegmentNode;

int encoded_job_size(SegmentNode* head) {
    int total = static_cast<int>(model::kStreamMinBytes);
    for (SegmentNode* n = head; n != nullptr; n = n->next) {
        if (is_printable(*n)) {
            n->wide_char_count = model::count_wide_chars(*n);
            total += encoded_record_size(*n);
        }
    }
    return total;
}

void encode_stream_header(const model::StreamHeader& h, std::uint8_t* out) {
    text::ByteWriter w(out);
    model::stream_header_fields(w, h);
}

void encode_job_header(const model::JobSettings& s, std::uint8_t* out) {
    encode_stream_header(model::stream_header(s), out);
}

void set_stream_length(std::uint8_t* header, std::size_t length) {
    text::put_be16(header + model::kStreamLengthAt, static_cast<std::uint16_t>(length));
}

std::size_t encode_segment_record(const SegmentNode& n, std::uint8_t* out) {
    text::ByteWriter w(out);
    model::stream_record_fields(w, n);
    return w.written();
}

int send_job(const model::JobSettings& s, SegmentNode* head, int start,
             const TransferWriter& write_transfer) {
    const int total = encoded_job_size(head);
    if (total > kMaxJobBytes) {
        return kSendTooLarge;
    }
    // The block never holds more than 4096 bytes plus the 'E'.
    std::array<std::uint8_t, kMaxTransferBytes + 1> block;
    std::array<std::uint8_t, model::kStreamRecordMaxBytes> record;
    encode_job_header(s, block.data());
    std::size_t length = model::kStreamHeaderBytes;
    int transfers = 0;
    int position = 0;
    for (SegmentNode* n = head; n != nullptr; n = n->next, ++position) {
        if (position < start || !is_printable(*n)) {
            continue;
        }
        const std::size_t rlen = encode_segment_record(*n, record.data());
        if (length + rlen > kMaxTransferBytes) {
            if (transfers == 0) {
                set_stream_length(block.data(), static_cast<std::size_t>(total));
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
    block[length++] = model::kStreamEnd;
    if (transfers == 0) {
        set_stream_length(block.data(), length);
    }
    if (length <= model::kStreamMinBytes) {
        return kSendNothing;
    }
    if (!write_transfer(block.data(), length) || !write_transfer(block.data(), 0)) {
        return kSendFailed;
    }
    return position;
}

}  // namespace qvprt::printing
