#include "model/segment_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace qvprt::model {
namespace {

// A list of `count` records, owned by the fixture.
class ListTest : public ::testing::Test {
  protected:
    void Make(int count) {
        for (int i = 0; i < count; ++i) {
            list.push_back(settings);
        }
    }
    // The records by their next links; checks the prev links, the tail and the size on the way.
    static std::vector<SegmentNode*> Nodes(SegmentList& l) {
        std::vector<SegmentNode*> v;
        SegmentNode* prev = nullptr;
        for (SegmentNode* n = l.head(); n != nullptr; n = n->next) {
            EXPECT_EQ(n->prev, prev);
            v.push_back(n);
            prev = n;
        }
        EXPECT_EQ(l.tail(), prev);
        EXPECT_EQ(l.size(), static_cast<int>(v.size()));
        EXPECT_EQ(l.empty(), v.empty());
        return v;
    }
    std::vector<SegmentNode*> Nodes() { return Nodes(list); }

    JobSettings settings;
    SegmentList list;
};

TEST_F(ListTest, AtClampsAtTheTail) {
    EXPECT_EQ(list.at(0), nullptr);
    EXPECT_EQ(list.at(-1), nullptr);
    Make(7);
    const auto v = Nodes();
    // Indices in the front half and in the back half (walked from the tail).
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(list.at(i), v[i]) << i;
    }
    EXPECT_EQ(list.at(9), v[6]);
    EXPECT_EQ(list.at(-1), v[6]);
}

TEST_F(ListTest, EraseAnswersTheRecordTakingItsPlace) {
    Make(3);
    auto v = Nodes();
    // The tail: the predecessor answers and becomes the tail.
    EXPECT_EQ(list.erase(v[2]), v[1]);
    EXPECT_EQ(Nodes(), (std::vector<SegmentNode*>{v[0], v[1]}));
    // The head of two: the successor answers and becomes the head.
    EXPECT_EQ(list.erase(v[0]), v[1]);
    EXPECT_EQ(Nodes(), std::vector<SegmentNode*>{v[1]});
    // The only record: nothing answers.
    EXPECT_EQ(list.erase(v[1]), nullptr);
    EXPECT_TRUE(Nodes().empty());
    EXPECT_EQ(list.erase(nullptr), nullptr);
}

TEST_F(ListTest, EraseFromTheMiddleLinksTheNeighbours) {
    Make(3);
    auto v = Nodes();
    EXPECT_EQ(list.erase(v[1]), v[2]);
    EXPECT_EQ(Nodes(), (std::vector<SegmentNode*>{v[0], v[2]}));
}

TEST_F(ListTest, InsertKeepsEveryRecordWhereItWas) {
    Make(3);
    auto v = Nodes();
    SegmentNode* middle = list.insert_after(v[1], settings);
    SegmentNode* first = list.insert_after(nullptr, settings);
    SegmentNode* last = list.insert_after(list.tail(), settings);
    EXPECT_EQ(Nodes(), (std::vector<SegmentNode*>{first, v[0], v[1], middle, v[2], last}));
    EXPECT_EQ(middle->repeat, settings.default_repeat);
}

TEST_F(ListTest, SpliceMovesTheRecordsOfAnotherList) {
    struct Case {
        int here, there;
    };
    for (const Case c : {Case{0, 2}, Case{2, 3}, Case{2, 0}}) {
        SegmentList a, b;
        for (int i = 0; i < c.here; ++i) {
            a.push_back(settings);
        }
        for (int i = 0; i < c.there; ++i) {
            b.push_back(settings);
        }
        auto expected = Nodes(a);
        const auto moved = Nodes(b);
        expected.insert(expected.end(), moved.begin(), moved.end());
        EXPECT_EQ(a.splice_back(std::move(b)), c.there > 0 ? moved[0] : nullptr);
        EXPECT_EQ(Nodes(a), expected);
        EXPECT_TRUE(Nodes(b).empty());
    }
}

TEST_F(ListTest, MoveHandsTheRecordsOver) {
    Make(2);
    const auto v = Nodes();
    SegmentList other(std::move(list));
    EXPECT_EQ(Nodes(other), v);
    EXPECT_TRUE(Nodes().empty());
    list = std::move(other);
    EXPECT_EQ(Nodes(), v);
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
