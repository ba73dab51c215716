#include "printing/job_summary.h"

#include <cstdio>

#include "printing/job_stream.h"
#include "text/gbk.h"

namespace qvprt::printing {

JobSummary summarize_job(const model::SegmentNode* head, const model::JobSettings& settings) {
    JobSummary s;
    const std::int64_t copies = settings.copies > 0 ? settings.copies : 0;
    for (const model::SegmentNode* n = head; n != nullptr; n = n->next) {
        if (!is_printable(*n)) {
            continue;
        }
        // total_count holds this product in 16 bits, which a repeat of 100 over a range of 1000
        // values overflows; the printer makes every one of them.
        const std::int64_t count =
            static_cast<std::int64_t>(n->repeat) * (n->has_serial == 1 ? n->serial_count : 1);
        ++s.segments;
        s.printed += count * copies;
        s.feed_dots += count * copies * n->feed_dots;
    }
    return s;
}

std::int64_t material_tenths_of_metre(const JobSummary& summary) {
    constexpr std::int64_t kDotsPerTenthMetre = 100 * model::dots_per_mm;
    return (summary.feed_dots + kDotsPerTenthMetre / 2) / kDotsPerTenthMetre;
}

std::string job_summary_text(const JobSummary& summary) {
    const std::int64_t tenths = material_tenths_of_metre(summary);
    char buf[128];
    std::snprintf(buf, sizeof buf, "共%lld段，打印 %lld 个，材料约 %lld.%lld 米",
                  static_cast<long long>(summary.segments), static_cast<long long>(summary.printed),
                  static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10));
    return text::gbk(buf);
}

}  // namespace qvprt::printing
