#include "files/safe_write.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include "files/file_messages.h"

#ifdef __unix__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qvprt::files {

namespace {

WriteResult failed(const std::string& path, const QString& reason) {
    WriteResult r;
    r.path = path;
    r.reason = reason.toStdString();
    r.message = save_error_message(path, r.reason);
    return r;
}

// QSaveFile syncs the file's data before the rename (fdatasync in Qt 6.4) but not the folder, so
// after a crash the folder could still name the old file.
void sync_folder(const QString& path) {
#ifdef __unix__
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)path;
#endif
}

}  // namespace

WriteResult write_file_safely(const std::string& path, std::span<const std::uint8_t> bytes,
                              const std::function<void()>& before_commit) {
    const QString qpath = QString::fromStdString(path);
    QSaveFile file(qpath);
    // Never fall back to writing the target in place: that is the half-written file we avoid.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return failed(path, file.errorString());
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failed(path, reason);
    }
    if (before_commit) {
        before_commit();
    }
    if (!file.commit()) {
        return failed(path, file.errorString());
    }
    sync_folder(qpath);
    WriteResult r;
    r.ok = true;
    r.path = path;
    return r;
}

}  // namespace qvprt::files
