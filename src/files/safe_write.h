#pragma once
// Writing a file without ever leaving it half written: the bytes go to a temporary file in the
// same folder, reach the disk, and only then replace the target. A failure leaves the old file as
// it was and no temporary file behind.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "files/file_result.h"

namespace qvprt::files {

// `before_commit` runs after the bytes are written, just before the temporary file replaces the
// target; tests use it to change the folder under the writer.
WriteResult write_file_safely(const std::string& path, std::span<const std::uint8_t> bytes,
                              const std::function<void()>& before_commit = {});

}  // namespace qvprt::files
