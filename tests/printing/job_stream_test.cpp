#include "printing/job_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/bytes.h"

namespace qvprt::printing {
namespace {

using model::SegmentNode;
using Bytes = std::vector<std::uint8_t>;

// A list of records with the given text lengths, owned by the fixture.
class JobTest : public ::testing::Test {
  protected:
    SegmentNode* Make(const std::vector<int>& text_lengths) {
        SegmentNode* tail = nullptr;
        for (int len : text_lengths) {
            tail = list_.push_back(settings);
            head = list_.head();
            text::copy_field(tail->text, std::string(static_cast<std::size_t>(len), 'x'));
            tail->text_length = static_cast<std::uint8_t>(len);
        }
        return head;
    }
    int Send(int start = 0) {
        return send_job(settings, head, start, [this](const std::uint8_t* b, std::size_t n) {
            transfers.emplace_back(b, b + n);
            return refuse_from < 0 || static_cast<int>(transfers.size()) <= refuse_from;
        });
    }
    std::vector<std::size_t> Sizes() const {
        std::vector<std::size_t> v;
        for (const auto& t : transfers) {
            v.push_back(t.size());
        }
        return v;
    }

    model::JobSettings settings;
    model::SegmentList list_;
    SegmentNode* head = nullptr;
    std::vector<Bytes> transfers;
    int refuse_from = -1;  // the driver refuses transfers after this many
};

TEST_F(JobTest, WorkedExampleByteForByte) {
    Make({2});
    head->text[0] = 'A';
    head->text[1] = '1';
    head->font_size = 3;
    const Bytes expected = {
        0x02, 0x41, 0x00, 0x43, 0x01, 0x43, 0x09, 0x00, 0x00,  // header
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x4E,  //
        0x54, 0x55, 0x42, 0x00, 0x32, 0x30, 0x00, 0x00, 0x34, 0x00, 0x00,                    //
        0x31, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0xF0,                                //
        0x00, 0x00, 0x00, 0x02, 0x30, 0x34, 0x03, 0x00,                                      //
        0x30, 0x30, 0x30, 0x31, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,        //
        0x41, 0x31,                                                                          //
        0x45};
    ASSERT_EQ(expected.size(), 67u);
    EXPECT_EQ(encoded_job_size(head), 67);
    EXPECT_EQ(Send(), 1);
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_EQ(transfers[0], expected);
    EXPECT_TRUE(transfers[1].empty());
}

TEST_F(JobTest, TransferSplits) {
    struct Case {
        std::vector<int> lengths;
        std::vector<std::size_t> sizes;  // the empty transfer included
        int total;
    };
    const Case cases[] = {
        {{10, 10, 10}, {205, 0}, 205},
        {std::vector<int>(100, 50), {3999, 4095, 2416, 0}, 10510},
        // 9 + 38 * 105 + (55 + 42): 4096 bytes before the 'E'.
        {[] {
             std::vector<int> v(38, 50);
             v.push_back(42);
             return v;
         }(),
         {4097, 0},
         4097},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        transfers.clear();
        list_.clear();
        head = nullptr;
        Make(c.lengths);
        EXPECT_EQ(Send(), static_cast<int>(c.lengths.size()));
        EXPECT_EQ(Sizes(), c.sizes);
        EXPECT_EQ(text::get_be16(transfers[0].data() + 2), c.total);
        EXPECT_EQ(transfers[c.sizes.size() - 2].back(), 'E');
    }
}

TEST_F(JobTest, LargestJobIsSentAndOneByteMoreRefused) {
    // 10 + 583 * 105 = 61225; three more records of 55 + n fill the rest.
    struct Case {
        std::vector<int> tail;
        int size;
        int result;
    };
    const Case cases[] = {{{48, 1, 1}, 61440, 586}, {{49, 1, 1}, 61441, kSendTooLarge}};
    for (const auto& c : cases) {
        transfers.clear();
        list_.clear();
        head = nullptr;
        std::vector<int> lengths(583, 50);
        lengths.insert(lengths.end(), c.tail.begin(), c.tail.end());
        Make(lengths);
        EXPECT_EQ(encoded_job_size(head), c.size);
        EXPECT_EQ(Send(), c.result);
        if (c.result == kSendTooLarge) {
            EXPECT_TRUE(transfers.empty());
        } else {
            std::size_t sum = 0;
            for (const auto& t : transfers) {
                EXPECT_LE(t.size(), 4097u);
                sum += t.size();
            }
            EXPECT_EQ(sum, 61440u);
            EXPECT_TRUE(transfers.back().empty());
        }
    }
}

TEST_F(JobTest, NothingPrintable) {
    struct Case {
        std::vector<int> lengths;
        bool disable;
    };
    for (const Case& c : {Case{{}, false}, Case{{0, 0}, false}, Case{{5, 7}, true}}) {
        transfers.clear();
        list_.clear();
        head = nullptr;
        Make(c.lengths);
        for (SegmentNode* n = head; c.disable && n != nullptr; n = n->next) {
            n->enabled = 0;
        }
        EXPECT_EQ(encoded_job_size(head), 10);
        EXPECT_EQ(Send(), kSendNothing);
        EXPECT_TRUE(transfers.empty());
    }
}

TEST_F(JobTest, SkippedRecordsAreStillCounted) {
    Make({3, 0, 4});
    EXPECT_EQ(Send(), 3);
    EXPECT_EQ(Sizes(), (std::vector<std::size_t>{9 + 58 + 59 + 1, 0}));
}

TEST_F(JobTest, RefusedTransferStopsTheJob) {
    struct Case {
        int refuse_from;
        std::size_t attempted;
    };
    // 100 records: three data transfers and the empty one.
    for (const Case c : {Case{0, 1}, Case{1, 2}, Case{2, 3}, Case{3, 4}}) {
        transfers.clear();
        list_.clear();
        head = nullptr;
        Make(std::vector<int>(100, 50));
        refuse_from = c.refuse_from;
        EXPECT_EQ(Send(), kSendFailed);
        EXPECT_EQ(transfers.size(), c.attempted);
    }
}

TEST_F(JobTest, WideCharCountAndRepeat) {
    Make({6, 1});
    text::copy_field(head->text, "AB\xb0\xa1\xd6\xd0");
    head->next->text[0] = '\xb0';
    set_repeat(*head, 300);
    encoded_job_size(head);
    EXPECT_EQ(head->wide_char_count, 2);
    EXPECT_EQ(head->next->wide_char_count, 0);
    Send();
    EXPECT_EQ(transfers[0][9 + 30], 0x01);
    EXPECT_EQ(transfers[0][9 + 31], 0x2C);
    EXPECT_EQ(transfers[0][9 + 12], 2);
}

}  // namespace
}  // namespace qvprt::printing
