#pragma once
// Opening a file the user chose: the kind by the last letter of its name, then the content checked
// as that kind.

#include <string>

#include "files/file_result.h"
#include "model/job_settings.h"

namespace qvprt::files {

// No file of ours comes near this; a larger one is refused before it is read.
inline constexpr long long kMaxJobFileBytes = 1 << 20;

// `path` is UTF-8. New records start from the defaults of `defaults`.
ReadResult read_job_file(const std::string& path, const model::JobSettings& defaults);

}  // namespace qvprt::files
