#include "files/job_file.h"

#include "files/file_messages.h"
#include "files/file_names.h"
#include "files/project_file.h"
#include "files/read_whole_file.h"
#include "files/udisk_reader.h"

namespace qvprt::files {

ReadResult read_job_file(const std::string& path, const model::JobSettings& defaults) {
    WholeFile file = read_whole_file(path, static_cast<std::size_t>(kMaxJobFileBytes));
    if (!file.ok()) {
        ReadResult r;
        r.kind = file_kind_for_path(path);
        r.error = file.failure == WholeFile::Failure::Open   ? ReadError::OpenFailed
                  : file.failure == WholeFile::Failure::Read ? ReadError::ReadFailed
                                                             : ReadError::TooLarge;
        r.message = read_error_message(r.error, path, file.reason);
        return r;
    }
    const std::span<const std::uint8_t> span(file.bytes);
    return file_kind_for_path(path) == FileKind::Udisk ? parse_udisk_file(span, defaults, path)
                                                       : parse_project_file(span, defaults, path);
}

}  // namespace qvprt::files
