#include "printing/udisk_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/job_stream.h"
#include "text/bytes.h"

namespace qvprt::printing {
namespace {

using model::SegmentNode;
using Bytes = std::vector<std::uint8_t>;

class UdiskTest : public ::testing::Test {
  protected:
    void Make(const std::vector<int>& text_lengths) {
        SegmentNode* tail = nullptr;
        for (int len : text_lengths) {
            tail = list_.push_back(settings);
            head = list_.head();
            text::copy_field(tail->text, std::string(static_cast<std::size_t>(len), 'x'));
            tail->text_length = static_cast<std::uint8_t>(len);
            tail->spare15 = 7;
            tail->spare16 = 8;
            tail->file_text_length = 99;
        }
    }
    // The blocks of a file, split by the lengths in their own headers.
    static std::vector<Bytes> Blocks(const Bytes& file) {
        std::vector<Bytes> blocks;
        for (std::size_t at = 0; at + 4 <= file.size();) {
            const std::size_t len = text::get_be16(file.data() + at + 2);
            if (len == 0 || at + len > file.size()) {
                ADD_FAILURE() << "bad block length at " << at;
                break;
            }
            blocks.emplace_back(file.begin() + static_cast<long>(at),
                                file.begin() + static_cast<long>(at + len));
            at += len;
        }
        return blocks;
    }

    model::JobSettings settings;
    model::SegmentList list_;
    SegmentNode* head = nullptr;
};

TEST_F(UdiskTest, BlockSplits) {
    struct Case {
        const char* name;
        std::vector<int> lengths;
        std::vector<std::size_t> block_sizes;
        std::vector<std::uint16_t> length_fields;
    };
    std::vector<int> full(583, 50);
    full.insert(full.end(), {49, 1, 1, 1});  // 9 + 61431 record bytes fill the first block exactly
    const Case cases[] = {
        {"three short records", {10, 10, 10}, {205}, {0x00CD}},
        {"700 records of 50 bytes", std::vector<int>(700, 50), {61435, 12085}, {0xEFFB, 0x2F35}},
        {"block of exactly 61440 bytes before its E", full, {61441, 66}, {0xF001, 66}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.lengths);
        const Bytes file = encode_udisk_file(settings, head);
        const auto blocks = Blocks(file);
        ASSERT_EQ(blocks.size(), c.block_sizes.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].size(), c.block_sizes[i]);
            EXPECT_EQ(text::get_be16(blocks[i].data() + 2), c.length_fields[i]);
            EXPECT_EQ(blocks[i].back(), 'E');
            // Every header byte but the length is the same in every block.
            const Bytes expected_header = {0x02, 0x41, blocks[i][2], blocks[i][3], 0x01,
                                           'C',  0x09, 0x00,         0x00};
            EXPECT_EQ(Bytes(blocks[i].begin(), blocks[i].begin() + 9), expected_header);
        }
        for (SegmentNode* n = head; n != nullptr; n = n->next) {
            EXPECT_EQ(n->spare15, 0);
            EXPECT_EQ(n->spare16, 0);
            EXPECT_EQ(n->file_text_length, n->text_length);
        }
        list_.clear();
        head = nullptr;
    }
}

TEST_F(UdiskTest, BlockRecordsAreTheJobStreamRecords) {
    Make({3, 5});
    head->next->text[0] = '\xb0';
    head->next->text[1] = '\xa1';
    const Bytes file = encode_udisk_file(settings, head);
    ASSERT_EQ(file.size(), 9u + 58 + 60 + 1);
    Bytes records(file.begin() + 9, file.end() - 1);
    Bytes expected(58 + 60);
    const std::size_t first = encode_segment_record(*head, expected.data());
    encode_segment_record(*head->next, expected.data() + first);
    EXPECT_EQ(records, expected);
    EXPECT_EQ(head->next->wide_char_count, 1);
    EXPECT_EQ(records[58 + 34], 0);  // spare15, spare16, file_text_length as the file sets them
    EXPECT_EQ(records[58 + 35], 0);
    EXPECT_EQ(records[58 + 36], 5);
}

TEST_F(UdiskTest, DensityByte) {
    const std::pair<int, std::uint8_t> cases[] = {
        {1, 0x01}, {9, 0x09}, {10, 0x11}, {12, 0x13}, {15, 0x16}};
    Make({1});
    for (const auto& [density, byte] : cases) {
        settings.density = static_cast<std::uint8_t>(density);
        const Bytes file = encode_udisk_file(settings, head);
        ASSERT_GT(file.size(), 6u);
        EXPECT_EQ(file[6], byte) << "density " << density;
    }
}

TEST_F(UdiskTest, UnprintableRowsAreSkippedAndNothingPrintableGivesAnEmptyFile) {
    Make({0, 4, 0, 6, 0});
    head->next->enabled = 0;
    Bytes file;
    EXPECT_EQ(write_udisk_block(file, settings, head, 4), 0);
    EXPECT_TRUE(file.empty());
    EXPECT_EQ(write_udisk_block(file, settings, head, 0), 5);
    EXPECT_EQ(file.size(), 9u + 61 + 1);  // only the fourth row is enabled and has text

    head->next->next->next->enabled = 0;
    EXPECT_TRUE(encode_udisk_file(settings, head).empty());
}

}  // namespace
}  // namespace qvprt::printing
