#pragma once
// The job as JSON: every job setting and every record field by its name.

#include <string>

#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::cli {

// Numbers come out as numbers; one-byte codes and fixed-width byte fields as lowercase hex of
// their full width; the record's text also as UTF-8 ("text_utf8", its used bytes only, the marks
// and symbols as private-use characters). The links are left out: the list order says it.
std::string dump_json(const model::JobSettings& settings, const model::SegmentNode* head);

}  // namespace qvprt::cli
