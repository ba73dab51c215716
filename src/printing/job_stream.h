#pragma once
// The printer's job byte stream: a nine-byte header, 55 + n bytes per printable segment, a closing
// 'E'; sent in transfers of at most 4096 bytes (4097 with the 'E') and then one empty transfer.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "model/job_settings.h"
#include "model/segment_list.h"
#include "model/stream_layout.h"

namespace qvprt::printing {

inline constexpr int kMaxJobBytes = 61440;
inline constexpr int kMaxTransferBytes = 4096;

// Results of send_job besides the number of records walked.
inline constexpr int kSendNothing = 0;
inline constexpr int kSendTooLarge = 9999;
inline constexpr int kSendFailed = -1;

// Sends n bytes (n may be 0) as one USB transfer; answers whether the driver took them.
using TransferWriter = std::function<bool(const std::uint8_t* bytes, std::size_t n)>;

inline bool is_printable(const model::SegmentNode& n) {
    return n.enabled != 0 && n.text_length != 0;
}

// What a record adds to the stream: 55 + text_length bytes when it is printable, else nothing.
inline int encoded_record_size(const model::SegmentNode& n) {
    return is_printable(n) ? static_cast<int>(model::kStreamRecordBytes) + n.text_length : 0;
}

// Length of the whole list's stream; recounts wide_char_count of every printable record.
int encoded_job_size(model::SegmentNode* head);

// Encodes one record's 55 + text_length bytes into `out`; answers the count written.
std::size_t encode_segment_record(const model::SegmentNode& n, std::uint8_t* out);
void encode_stream_header(const model::StreamHeader& h, std::uint8_t* out);
void encode_job_header(const model::JobSettings& s, std::uint8_t* out);
// Writes a stream's length into the header that starts at `header`.
void set_stream_length(std::uint8_t* header, std::size_t length);

// Encodes the printable records from position `start` on and writes them. Answers the number of
// records in the list, kSendNothing, kSendTooLarge (nothing written) or kSendFailed: a transfer the
// driver refused stops the job there, and nothing, not even the empty transfer, follows it.
int send_job(const model::JobSettings& s, model::SegmentNode* head, int start,
             const TransferWriter& write_transfer);

}  // namespace qvprt::printing
