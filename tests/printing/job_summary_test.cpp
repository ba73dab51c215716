#include "printing/job_summary.h"

#include <gtest/gtest.h>

#include <vector>

#include "text/gbk.h"

namespace qvprt::printing {
namespace {

struct Row {
    bool checked = true;
    int text_length = 2;
    int repeat = 1;
    int serial_count = 0;  // 0: no serial number
    int feed_dots = 240;
};

struct SummaryCase {
    const char* name;
    std::vector<Row> rows;
    int copies;
    JobSummary want;
    const char* text;
};

TEST(JobSummary, CountsWhatThePrinterMakes) {
    const std::vector<Row> twelve(12, Row{true, 2, 20, 0, 240});
    const SummaryCase cases[] = {
        {"twelve rows of 20 mm, repeat 20",
         twelve,
         1,
         {12, 240, 57600},
         "共12段，打印 240 个，材料约 4.8 米"},
        {"job copies multiply",
         twelve,
         3,
         {12, 720, 172800},
         "共12段，打印 720 个，材料约 14.4 米"},
        {"serial range 1..100 with repeat 2",
         {{true, 3, 2, 100, 300}},
         1,
         {1, 200, 60000},
         "共1段，打印 200 个，材料约 5.0 米"},
        // 100 × 1000 copies are more than the record's 16-bit total_count holds.
        {"repeat 100 over 1000 serial values",
         {{true, 3, 100, 1000, 240}},
         2,
         {1, 200000, 48000000},
         "共1段，打印 200000 个，材料约 4000.0 米"},
        {"unchecked and empty rows take nothing",
         {{true, 2, 1, 0, 240}, {false, 2, 5, 0, 240}, {true, 0, 5, 0, 240}, {true, 4, 2, 0, 600}},
         1,
         {2, 3, 1440},
         "共2段，打印 3 个，材料约 0.1 米"},
        {"a serial count without the serial flag is one copy",
         {{true, 2, 3, -5, 240}},
         1,
         {1, 3, 720},
         "共1段，打印 3 个，材料约 0.1 米"},
        {"half a tenth rounds up",
         {{true, 1, 1, 0, 600}},
         1,
         {1, 1, 600},
         "共1段，打印 1 个，材料约 0.1 米"},
        {"just under half a tenth rounds down",
         {{true, 1, 1, 0, 599}},
         1,
         {1, 1, 599},
         "共1段，打印 1 个，材料约 0.0 米"},
        {"nothing printable",
         {{false, 2, 1, 0, 240}},
         1,
         {0, 0, 0},
         "共0段，打印 0 个，材料约 0.0 米"},
    };
    for (const SummaryCase& c : cases) {
        SCOPED_TRACE(c.name);
        model::JobSettings settings;
        settings.copies = c.copies;
        model::SegmentList list;
        for (const Row& r : c.rows) {
            model::SegmentNode* tail = list.push_back(settings);
            tail->enabled = r.checked ? 1 : 0;
            tail->text_length = static_cast<std::uint8_t>(r.text_length);
            model::set_repeat(*tail, r.repeat);
            // A negative count stands for a stale count on a record without a serial number.
            tail->has_serial = r.serial_count > 0 ? 1 : 0;
            tail->serial_count =
                static_cast<std::uint16_t>(r.serial_count < 0 ? -r.serial_count : r.serial_count);
            tail->feed_dots = static_cast<std::uint16_t>(r.feed_dots);
        }
        const JobSummary got = summarize_job(list.head(), settings);
        EXPECT_EQ(got.segments, c.want.segments);
        EXPECT_EQ(got.printed, c.want.printed);
        EXPECT_EQ(got.feed_dots, c.want.feed_dots);
        EXPECT_EQ(text::gbk_to_utf8(job_summary_text(got)), c.text);
    }
}

}  // namespace
}  // namespace qvprt::printing
