#include "files/file_names.h"

#include <QString>

namespace qvprt::files {

namespace {

std::string lower_file_name(std::string_view chosen) {
#ifdef _WIN32
    const std::size_t slash = chosen.find_last_of("/\\");
#else
    const std::size_t slash = chosen.find_last_of('/');
#endif
    const std::size_t name_at = slash == std::string_view::npos ? 0 : slash + 1;
    const QString name =
        QString::fromUtf8(chosen.data() + name_at, static_cast<qsizetype>(chosen.size() - name_at));
    return std::string(chosen.substr(0, name_at)) + name.toLower().toStdString();
}

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

}  // namespace

std::string project_file_path(std::string_view chosen) {
    std::string path = lower_file_name(chosen);
    if (!ends_with(path, ".qvk")) {
        path += ".qvk";
    }
    return path;
}

std::string udisk_file_path(std::string_view chosen) {
    std::string path = lower_file_name(chosen);
    if (!ends_with(path, ".qvu")) {
        path += ".QVU";
    }
    return path;
}

FileKind file_kind_for_path(std::string_view path) {
    return !path.empty() && (path.back() == 'u' || path.back() == 'U') ? FileKind::Udisk
                                                                       : FileKind::Project;
}

}  // namespace qvprt::files
