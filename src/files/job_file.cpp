#include "files/job_file.h"

#include <QFile>
#include <QString>

#include "files/file_messages.h"
#include "files/file_names.h"
#include "files/project_file.h"
#include "files/udisk_reader.h"

namespace qvprt::files {

ReadResult read_job_file(const std::string& path, const model::JobSettings& defaults) {
    const FileKind kind = file_kind_for_path(path);
    auto failed = [&](ReadError e, const QString& reason) {
        ReadResult r;
        r.kind = kind;
        r.error = e;
        r.message = read_error_message(e, path, reason.toStdString());
        return r;
    };
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return failed(ReadError::OpenFailed, file.errorString());
    }
    const QByteArray bytes = file.read(kMaxJobFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return failed(ReadError::ReadFailed, file.errorString());
    }
    if (bytes.size() > kMaxJobFileBytes) {
        return failed(ReadError::TooLarge, {});
    }
    const std::span<const std::uint8_t> span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::size_t>(bytes.size()));
    return kind == FileKind::Udisk ? parse_udisk_file(span, defaults, path)
                                   : parse_project_file(span, defaults, path);
}

}  // namespace qvprt::files
