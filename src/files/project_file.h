#pragma once
// The project file: a 19-byte header of job settings and the record count, then every record
// field by field (66 + text_length bytes each), little-endian, without signature or version.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_result.h"
#include "files/project_layout.h"
#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::files {

std::vector<std::uint8_t> encode_project_file(const model::JobSettings& s,
                                              const model::SegmentNode* head);
WriteResult save_project_file(const std::string& path, const model::JobSettings& s,
                              const model::SegmentNode* head);

// New records start from the defaults of `defaults`, as new rows do; `path` only names the file in
// messages.
ReadResult parse_project_file(std::span<const std::uint8_t> bytes,
                              const model::JobSettings& defaults, std::string_view path);

}  // namespace qvprt::files
