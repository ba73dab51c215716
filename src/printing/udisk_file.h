#pragma once
// The U-disk print file the printer reads from a USB stick by itself: the job stream cut into
// blocks of at most 61440 bytes before the 'E', each a complete stream with its own header and
// length. Unlike a USB job, a file may hold any number of blocks.

#include <cstdint>
#include <vector>

#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::printing {

inline constexpr int kMaxUdiskBlockBytes = 61440;  // before the closing 'E'

// The density byte of a block: the printer takes 10..15 as 0x11..0x16.
std::uint8_t udisk_density_byte(std::uint8_t density);

// Appends one block whose records begin at list position `start` to `archive`. Answers the list
// position at which the next block must begin, or 0 when no record qualified (nothing appended).
// Sets spare15, spare16 and file_text_length of every printable record, as the file carries them,
// and recounts wide_char_count.
int write_udisk_block(std::vector<std::uint8_t>& archive, const model::JobSettings& s,
                      model::SegmentNode* head, int start);

// The whole file: the blocks back to back; empty when the job has no printable record.
std::vector<std::uint8_t> encode_udisk_file(const model::JobSettings& s, model::SegmentNode* head);

}  // namespace qvprt::printing
