#include "model/segment_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace qvprt::model {
namespace {

// A list of `count` records, freed with the fixture.
class ListTest : public ::testing::Test {
  protected:
    void Make(int count) {
        head = create_first_segment(settings);
        SegmentNode* tail = head;
        for (int i = 1; i < count; ++i) {
            tail = insert_segment_after(settings, tail);
        }
    }
    std::vector<SegmentNode*> Nodes() const {
        std::vector<SegmentNode*> v;
        for (SegmentNode* n = head; n != nullptr; n = n->next) {
            v.push_back(n);
        }
        return v;
    }
    void TearDown() override { free_segments(head); }

    JobSettings settings;
    SegmentNode* head = nullptr;
};

TEST_F(ListTest, SegmentAtClampsAtTheTail) {
    Make(3);
    const auto v = Nodes();
    EXPECT_EQ(segment_at(head, 0), v[0]);
    EXPECT_EQ(segment_at(head, 1), v[1]);
    EXPECT_EQ(segment_at(head, 5), v[2]);
    EXPECT_EQ(segment_at(head, -1), v[2]);
    EXPECT_EQ(segment_at(nullptr, 0), nullptr);
}

TEST_F(ListTest, RemoveAnswersTheRecordTakingItsPlace) {
    Make(3);
    auto v = Nodes();
    // The tail: the predecessor answers and loses its next.
    EXPECT_EQ(remove_segment(head, v[2]), v[1]);
    EXPECT_EQ(v[1]->next, nullptr);
    // The head of two: the successor answers and loses its prev.
    SegmentNode* r = remove_segment(head, v[0]);
    EXPECT_EQ(r, v[1]);
    EXPECT_EQ(r->prev, nullptr);
    head = r;
    // The only record: nothing answers.
    EXPECT_EQ(remove_segment(head, head), nullptr);
    head = nullptr;
}

TEST_F(ListTest, RemoveFromTheMiddleLinksTheNeighbours) {
    Make(3);
    auto v = Nodes();
    EXPECT_EQ(remove_segment(head, v[1]), v[2]);
    EXPECT_EQ(v[0]->next, v[2]);
    EXPECT_EQ(v[2]->prev, v[0]);
}

TEST_F(ListTest, InsertAfterTheMiddleRecord) {
    Make(3);
    auto v = Nodes();
    SegmentNode* n = insert_segment_after(settings, v[1]);
    const auto w = Nodes();
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[2], n);
    EXPECT_EQ(v[2]->prev, n);
    EXPECT_EQ(n->prev, v[1]);
    EXPECT_EQ(segment_count(head), 4);
    // Records stay where they were.
    EXPECT_EQ(w[0], v[0]);
    EXPECT_EQ(w[3], v[2]);
}

TEST(SegmentDefaults, NewRecordsTakeTheDefaults) {
    JobSettings s;
    SegmentNode n;
    init_segment_defaults(n, s);
    EXPECT_EQ(n.auto_font, 1);
    EXPECT_EQ(n.auto_length, 0);
    EXPECT_EQ(n.decoration, 'N');
    EXPECT_EQ(n.spare_mark, 'N');
    EXPECT_EQ(n.direction, (std::array<char, 2>{'0', '4'}));
    EXPECT_EQ(n.material, (std::array<char, 4>{'T', 'U', 'B', 0}));
    EXPECT_EQ(n.material_param, (std::array<char, 3>{'4', 0, 0}));
    EXPECT_EQ(n.length_text, (std::array<char, 4>{'2', '0', 0, 0}));
    EXPECT_EQ(n.length_dots, 240);
    EXPECT_EQ(n.feed_dots, 240);
    EXPECT_EQ(n.enabled, 1);
    EXPECT_EQ(n.total_count, 0);

    s.default_repeat = 12;
    s.default_length_mm = 35;
    init_segment_defaults(n, s);
    EXPECT_EQ(n.repeat, 12);
    EXPECT_EQ(n.repeat_text, (std::array<char, 5>{'1', '2', 0, 0, 0}));
    EXPECT_EQ(n.repeat_text4, (std::array<char, 5>{'0', '0', '1', '2', 0}));
    EXPECT_EQ(n.length_dots, 420);
    EXPECT_EQ(n.feed_dots, 420);

    s.default_auto_length = 1;
    s.default_length_text = {'A', 'u', 0, 0};
    init_segment_defaults(n, s);
    EXPECT_EQ(n.auto_length, 1);
    EXPECT_EQ(n.length_text, (std::array<char, 4>{'A', 'u', 0, 0}));
    EXPECT_EQ(n.length_dots, 420);
}

}  // namespace
}  // namespace qvprt::model
