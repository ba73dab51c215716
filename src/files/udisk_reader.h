#pragma once
// Reading a U-disk print file back into records: every block, in the printer form of the text.

#include <cstdint>
#include <span>
#include <string_view>

#include "files/file_result.h"
#include "model/job_settings.h"

namespace qvprt::files {

// New records start from the defaults of `defaults`; fields the file does not carry keep them.
// `path` only names the file in messages.
ReadResult parse_udisk_file(std::span<const std::uint8_t> bytes, const model::JobSettings& defaults,
                            std::string_view path);

}  // namespace qvprt::files
