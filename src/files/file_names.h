#pragma once
// The names files get when the user chooses one. Only the file name is lower-cased: the folders
// stay as they are, since on a case-sensitive file system lower-casing them names another folder.

#include <string>
#include <string_view>

#include "files/file_result.h"

namespace qvprt::files {

// UTF-8 paths in and out. ".qvk" is appended unless the lower-cased name ends in it.
std::string project_file_path(std::string_view chosen);
// ".QVU" is appended unless the lower-cased name ends in ".qvu".
std::string udisk_file_path(std::string_view chosen);

// The kind a file is read as, by the last letter of its name: 'u' or 'U' is a U-disk print file.
FileKind file_kind_for_path(std::string_view path);

}  // namespace qvprt::files
