#pragma once
// What the file readers and writers hand back. A reader never touches the open job: it builds a
// list of its own, and the command applies the list and the settings only when `ok()`.

#include <cstdint>
#include <optional>
#include <string>

#include "model/segment_list.h"

namespace qvprt::files {

enum class FileKind { Project, Udisk };

enum class ReadError {
    None,
    OpenFailed,
    ReadFailed,
    TooLarge,
    TruncatedHeader,
    TruncatedRecord,  // detail: record number (from 1)
    TruncatedBlock,   // detail: block number (from 1)
    TextTooLong,      // detail: record number, text_length
    BadCount,         // detail: the count
    BadSetting,       // detail: JobField, the value
    TrailingBytes,
    NotUdiskFile,
    BadBlockHeader,       // detail: block number
    BadBlockLength,       // detail: block number, the length
    BlockOverrun,         // detail: block number
    BadBlockEnd,          // detail: block number
    EmptyBlock,           // detail: block number
    BlockSettingsDiffer,  // detail: block number
};

// The job settings a file carries, in the names of JobSettings.
enum class JobField {
    Spacing,
    Density,
    CutMode,
    Arrangement,
    MaterialIndex,
    MaterialParamIndex,
    Copies
};

struct FileJobSettings {
    std::int32_t spacing = 0;
    std::uint8_t density = 9;
    char cut_mode = model::kCutHalf;
    std::uint8_t arrangement = 0;
    // A project file always gives the two box positions; a U-disk print file only when one of its
    // records names a known material (and parameter).
    std::optional<std::int32_t> material_index;
    std::optional<std::int32_t> material_param_index;
    std::optional<std::int32_t> copies;  // U-disk print files only
};

struct ReadResult {
    ReadError error = ReadError::None;
    std::string message;  // GBK, for a box captioned "提示"; empty on success
    FileKind kind = FileKind::Project;
    model::SegmentList records;  // the records read, in file order
    int count = 0;
    FileJobSettings settings;
    bool external_font = false;  // a record has char_scale 2

    bool ok() const { return error == ReadError::None; }
};

struct WriteResult {
    bool ok = false;
    std::string path;     // UTF-8, the file written or not written
    std::string reason;   // UTF-8, the system's reason on failure
    std::string message;  // GBK, for a box captioned "提示"; empty on success
};

}  // namespace qvprt::files
