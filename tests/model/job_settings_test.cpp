#include "model/job_settings.h"

#include <gtest/gtest.h>

#include "model/segment_list.h"

namespace qvprt::model {
namespace {

using Field4 = std::array<char, 4>;
using Field3 = std::array<char, 3>;

TEST(JobSettings, Defaults) {
    const JobSettings s;
    EXPECT_EQ(s.material_code, (Field4{'T', 'U', 'B', 0}));
    EXPECT_EQ(s.material_param, (Field3{'4', 0, 0}));
    EXPECT_EQ(s.material_param_index, 1);
    EXPECT_EQ(s.cut_mode, 'C');
    EXPECT_EQ(s.density, 9);
    EXPECT_EQ(s.copies, 1);
    EXPECT_EQ(s.default_auto_font, 1);
    EXPECT_EQ(s.default_font_size, 0);
}

// Every material and parameter change rewrites every record, whatever the current row.
TEST(JobSettings, MaterialChoicesRewriteEveryRecord) {
    struct Case {
        int material;
        int param;  // -1: keep the material's own selection
        Field4 code;
        Field3 value;
        std::vector<std::string> entries;
        double height;
    };
    const std::vector<std::string> tube{"3.0", "4.0", "5.0", "6.0"};
    const std::vector<std::string> label{"6 mm", "9 mm", "12mm"};
    const Case cases[] = {
        {1, -1, {'L', 'A', 'B', 0}, {'9', 0, 0}, label, 9.0},
        {2, -1, {'S', 'T', 'U', 0}, {'4', 0, 0}, tube, 6.5},
        {0, 3, {'T', 'U', 'B', 0}, {'6', 0, 0}, tube, 6.5},
        {1, 2, {'L', 'A', 'B', 0}, {'1', '2', 0}, label, 9.0},
        {1, 0, {'L', 'A', 'B', 0}, {'6', 0, 0}, label, 9.0},
        {2, 0, {'S', 'T', 'U', 0}, {'3', 0, 0}, tube, 6.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.material * 10 + c.param);
        JobSettings s;
        SegmentList list;
        for (int i = 0; i < 3; ++i) {
            list.push_back(s);
        }
        SegmentNode* head = list.head();
        const MaterialChoice mc = select_material(s, head, c.material);
        EXPECT_EQ(mc.param_entries, c.entries);
        EXPECT_EQ(mc.param_selection, 1);
        EXPECT_DOUBLE_EQ(mc.preview_height_mm, c.height);
        EXPECT_EQ(s.material_index, c.material);
        EXPECT_EQ(s.material_param_index, 1);
        if (c.param >= 0) {
            select_material_param(s, head, c.param);
            EXPECT_EQ(s.material_param_index, c.param);
        }
        EXPECT_EQ(s.material_code, c.code);
        EXPECT_EQ(s.material_param, c.value);
        for (SegmentNode* n = head; n != nullptr; n = n->next) {
            EXPECT_EQ(n->material, c.code);
            EXPECT_EQ(n->material_param, c.value);
        }
    }
}

TEST(JobSettings, BoxPositionsToValues) {
    JobSettings s;
    const std::pair<int, char> cuts[] = {{0, 'N'}, {1, 'C'}, {2, 'L'}, {7, 'C'}};
    for (auto [p, v] : cuts) {
        select_cut_mode(s, p);
        EXPECT_EQ(s.cut_mode, v);
    }
    select_density(s, 9);  // entry "A"
    EXPECT_EQ(s.density, 10);
    select_density(s, 14);  // entry "F"
    EXPECT_EQ(s.density, 15);
    select_spacing(s, 20);
    EXPECT_EQ(s.spacing, 20);
    select_arrangement(s, 1);
    EXPECT_EQ(s.arrangement, 1);
}

TEST(JobSettings, CopiesRange) {
    EXPECT_FALSE(copies_in_range(0));
    EXPECT_TRUE(copies_in_range(1));
    EXPECT_TRUE(copies_in_range(20));
    EXPECT_FALSE(copies_in_range(21));
    EXPECT_FALSE(copies_in_range(-5));
}

}  // namespace
}  // namespace qvprt::model
