#pragma once
// What a job will take before it is printed: its printable segments, the copies the printer makes
// of them and the material it feeds for them.

#include <cstdint>
#include <string>

#include "model/job_settings.h"
#include "model/segment_list.h"

namespace qvprt::printing {

struct JobSummary {
    std::int64_t segments = 0;   // printable records
    std::int64_t printed = 0;    // copies of them, times the job's copies
    std::int64_t feed_dots = 0;  // material fed for all of them
    bool operator==(const JobSummary&) const = default;
};

// Reads the records as they are: the caller compiles them first, as the preview does.
JobSummary summarize_job(const model::SegmentNode* head, const model::JobSettings& settings);

// The material in tenths of a metre, rounded half up.
std::int64_t material_tenths_of_metre(const JobSummary& summary);

// "共12段，打印 240 个，材料约 4.8 米" in GBK.
std::string job_summary_text(const JobSummary& summary);

}  // namespace qvprt::printing
