#include "printing/udisk_file.h"

#include <array>

#include "printing/job_stream.h"

namespace qvprt::printing {

using model::SegmentNode;

std::uint8_t udisk_density_byte(std::uint8_t density) {
    return density >= 10 ? static_cast<std::uint8_t>(density + 7) : density;
}

int write_udisk_block(std::vector<std::uint8_t>& archive, const model::JobSettings& s,
                      SegmentNode* head, int start) {
    const std::size_t block_start = archive.size();
    model::StreamHeader header = model::stream_header(s);
    header.density = udisk_density_byte(s.density);
    archive.resize(block_start + model::kStreamHeaderBytes);
    encode_stream_header(header, archive.data() + block_start);

    // The records carry these into the file, and keep them afterwards.
    for (SegmentNode* n = head; n != nullptr; n = n->next) {
        if (is_printable(*n)) {
            n->spare15 = 0;
            n->spare16 = 0;
            n->file_text_length = n->text_length;
        }
    }
    encoded_job_size(head);  // recounts wide_char_count

    std::array<std::uint8_t, model::kStreamRecordMaxBytes> record;
    std::size_t length = model::kStreamHeaderBytes;
    int position = 0;
    for (SegmentNode* n = head; n != nullptr; n = n->next) {
        const bool encode = position >= start && is_printable(*n);
        ++position;
        if (!encode) {
            continue;
        }
        const std::size_t rlen = encode_segment_record(*n, record.data());
        if (length + rlen > kMaxUdiskBlockBytes) {
            --position;  // this record begins the next block
            break;
        }
        archive.insert(archive.end(), record.begin(), record.begin() + static_cast<long>(rlen));
        length += rlen;
    }
    archive.push_back(model::kStreamEnd);
    ++length;
    if (length <= model::kStreamMinBytes) {
        archive.resize(block_start);
        return 0;
    }
    set_stream_length(archive.data() + block_start, length);
    return position;
}

std::vector<std::uint8_t> encode_udisk_file(const model::JobSettings& s, SegmentNode* head) {
    std::vector<std::uint8_t> file;
    const int rows = model::segment_count(head);
    int next = write_udisk_block(file, s, head, 0);
    // A block always takes at least the record that ended the one before, so this ends; the test
    // of 0 only guards against looping back to the first block.
    while (next != 0 && next < rows) {
        next = write_udisk_block(file, s, head, next);
    }
    return file;
}

}  // namespace qvprt::printing
