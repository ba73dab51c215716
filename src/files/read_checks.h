#pragma once
// Pieces both readers share: ending a read with a failure, the checks of the job settings a file
// carries, and building the new list.

#include <string>
#include <string_view>

#include "files/file_messages.h"
#include "files/file_result.h"
#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::files {

// Turns a result into a failure: the records read so far go, the message names the file.
struct ReadFailure {
    ReadResult& r;
    std::string_view path;

    void mark(ReadError e, std::string_view d1 = {}, std::string_view d2 = {}) const {
        r.error = e;
        r.message = read_error_message(e, path, d1, d2);
        r.records.clear();
        r.count = 0;
    }
    void mark_setting(JobField field, long long value) const {
        mark(ReadError::BadSetting, job_field_name(field), std::to_string(value));
    }
    ReadResult operator()(ReadError e, std::string_view d1 = {}, std::string_view d2 = {}) const {
        mark(e, d1, d2);
        return std::move(r);
    }
    ReadResult setting(JobField field, long long value) const {
        mark_setting(field, value);
        return std::move(r);
    }
};

// Spacing, density, cut mode and arrangement within what the setting boxes offer; marks the
// result failed when one is not.
inline bool check_common_settings(const FileJobSettings& fs, const ReadFailure& fail) {
    if (fs.spacing < 0 || fs.spacing > model::kMaxSpacing) {
        fail.mark_setting(JobField::Spacing, fs.spacing);
    } else if (fs.density < model::kMinDensity || fs.density > model::kMaxDensity) {
        fail.mark_setting(JobField::Density, fs.density);
    } else if (!model::kCutModes.holds(fs.cut_mode)) {
        fail.mark_setting(JobField::CutMode, static_cast<unsigned char>(fs.cut_mode));
    } else if (!model::kArrangements.holds(fs.arrangement)) {
        fail.mark_setting(JobField::Arrangement, fs.arrangement);
    } else {
        return true;
    }
    return false;
}

inline model::SegmentNode* append_record(ReadResult& r, const model::JobSettings& defaults) {
    ++r.count;
    return r.records.push_back(defaults);
}

inline void finish_record(ReadResult& r, model::SegmentNode& n) {
    n.has_serial = (n.serial_natural | n.serial_padded | n.serial_upper | n.serial_lower) != 0;
    n.enabled = 1;
    n.is_current = 0;
    if (n.char_scale == 2) {
        r.external_font = true;
    }
}

}  // namespace qvprt::files
