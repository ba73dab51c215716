#include "files/udisk_reader.h"

#include <gtest/gtest.h>

#include "file_test_util.h"
#include "printing/job_stream.h"
#include "printing/udisk_file.h"
#include "text/gbk.h"

namespace qvprt::files {
namespace {

using model::SegmentNode;
using namespace testing;

Bytes RecordBytes(const SegmentNode& n) {
    Bytes b(55 + 51);
    b.resize(printing::encode_segment_record(n, b.data()));
    return b;
}

// Written and read back, the printable records and the job settings come back, over any number
// of blocks.
TEST(UdiskReader, RoundTrip) {
    struct Case {
        const char* name;
        std::vector<int> lengths;
        const char* corpus_name;
    };
    const Case cases[] = {
        {"one block with unprintable rows", {3, 0, 7, 50, 1}, "udisk-one-block.qvu"},
        {"two blocks", std::vector<int>(700, 50), "udisk-two-blocks.qvu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model::JobSettings s;
        s.copies = 3;
        s.cut_mode = 'L';
        s.density = 12;
        s.spacing = 5;
        s.arrangement = 1;
        RecordList list(s, c.lengths);
        int k = 0;
        for (SegmentNode* n = list.head(); n != nullptr; n = n->next, ++k) {
            text::copy_field(n->material, "LAB");
            text::copy_field(n->material_param, "9");
            n->serial_padded = static_cast<std::uint8_t>(k % 2);
            n->has_serial = n->serial_padded;
            n->font_size = static_cast<std::uint8_t>(k % 7);
            n->char_scale = static_cast<std::uint8_t>(k % 3);
            set_repeat(*n, 1 + k % 100);
            n->length_dots = static_cast<std::uint16_t>(72 + k);
            text::copy_field(n->serial_start, "A1");
            text::copy_field(n->serial_end, "A9");
        }
        list.head()->next->next->next->enabled = 0;
        const Bytes file = printing::encode_udisk_file(s, list.head());
        keep_in_corpus(c.corpus_name, file);

        const ReadResult r = parse_udisk_file(file, model::JobSettings{}, "job.qvu");
        ASSERT_TRUE(r.ok()) << text::gbk_to_utf8(r.message);
        EXPECT_EQ(r.kind, FileKind::Udisk);
        EXPECT_EQ(r.settings.copies, 3);
        EXPECT_EQ(r.settings.cut_mode, 'L');
        EXPECT_EQ(r.settings.density, 12);
        EXPECT_EQ(r.settings.spacing, 5);
        EXPECT_EQ(r.settings.arrangement, 1);
        EXPECT_EQ(r.settings.material_index, 1);
        EXPECT_EQ(r.settings.material_param_index, 1);
        EXPECT_TRUE(r.external_font);
        const SegmentNode* b = r.records.head();
        int printable = 0;
        for (const SegmentNode* a = list.head(); a != nullptr; a = a->next) {
            if (!printing::is_printable(*a)) {
                continue;
            }
            ++printable;
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(RecordBytes(*b), RecordBytes(*a));
            EXPECT_EQ(b->has_serial, a->serial_padded);
            b = b->next;
        }
        EXPECT_EQ(b, nullptr);
        EXPECT_EQ(r.count, printable);
    }
}

TEST(UdiskReader, MaterialPositionsComeFromTheRecords) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> records;  // material, parameter
        std::optional<int> material_index;
        std::optional<int> param_index;
    };
    const Case cases[] = {
        {{{"TUB", "3"}}, 0, 0},
        {{{"TUB", "6"}}, 0, 3},
        {{{"LAB", "6"}}, 1, 0},
        {{{"LAB", "12"}}, 1, 2},
        {{{"SHR", "5"}}, 2, 2},
        {{{"XYZ", "5"}}, std::nullopt, std::nullopt},
        {{{"LAB", "4"}}, 1, std::nullopt},
        {{{"TUB", "5"}, {"XYZ", "3"}}, 0, 2},  // the unknown material leaves both
        {{{"TUB", "5"}, {"LAB", "4"}}, 1, 2},  // the unknown parameter leaves it
    };
    for (const Case& c : cases) {
        model::JobSettings s;
        RecordList list(s, std::vector<int>(c.records.size(), 1));
        SegmentNode* n = list.head();
        for (const auto& [material, param] : c.records) {
            text::copy_field(n->material, material);
            text::copy_field(n->material_param, param);
            n = n->next;
        }
        const ReadResult r =
            parse_udisk_file(printing::encode_udisk_file(s, list.head()), s, "job.qvu");
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.settings.material_index, c.material_index) << c.records.back().first;
        EXPECT_EQ(r.settings.material_param_index, c.param_index) << c.records.back().second;
    }
}

// A block with the default header and records of the given text lengths (each record zero but
// for its text length), its length field and 'E' as they should be.
Bytes Block(const std::vector<int>& lengths) {
    Bytes b = {0x02, 0x41, 0, 0, 0x01, 'C', 0x09, 0x00, 0x00};
    for (int len : lengths) {
        Bytes r(55 + static_cast<std::size_t>(len), 0);
        r[37] = static_cast<std::uint8_t>(len);
        b.insert(b.end(), r.begin(), r.end());
    }
    b.push_back('E');
    text::put_be16(b.data() + 2, static_cast<std::uint16_t>(b.size()));
    return b;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(UdiskReader, BadFilesAreRefusedWithTheirMessage) {
    struct Case {
        const char* name;
        Bytes file;
        ReadError error;
    };
    const Bytes good = Block({2, 3});
    Bytes second_header = Concat(good, good);
    second_header[good.size() + 1] = 0x42;
    Bytes short_length = Concat(good, Block({}));
    text::put_be16(short_length.data() + good.size() + 2, 9);
    Bytes long_length = good;
    text::put_be16(long_length.data() + 2, static_cast<std::uint16_t>(good.size() + 1));
    Bytes overrun = good;  // the second record claims one byte more than the block holds
    overrun[9 + 57 + 37] = 4;
    Bytes overrun_header = Block({});  // 20 bytes left for a record that needs 55
    overrun_header.insert(overrun_header.end() - 1, 20, 0);
    text::put_be16(overrun_header.data() + 2, static_cast<std::uint16_t>(overrun_header.size()));
    Bytes long_text = Block({51});
    Bytes no_end = good;
    no_end.back() = 'F';
    Bytes density_16 = good;
    density_16[6] = 0x10;
    Bytes copies_0 = good;
    copies_0[4] = 0;
    Bytes copies_21 = good;
    copies_21[4] = 21;
    Bytes cut_x = good;
    cut_x[5] = 'X';
    // A later block's settings byte by byte: copies, cut, density, spacing, arrangement.
    std::vector<Bytes> differing;
    for (std::size_t at = 4; at <= 8; ++at) {
        Bytes two = Concat(good, good);
        two[good.size() + at] ^= 1;
        differing.push_back(two);
    }
    Bytes density_0 = Concat(good, good);
    density_0[good.size() + 6] = 0;
    Bytes project = {0x00, 0x00, 0x00, 0x00, 0x09, 'C',  0x00, 0x00, 0x00, 0x00,
                     0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    const Case cases[] = {
        {"empty", {}, ReadError::TruncatedHeader},
        {"header cut short", Bytes(good.begin(), good.begin() + 8), ReadError::TruncatedHeader},
        {"a project file", project, ReadError::NotUdiskFile},
        {"second block header", second_header, ReadError::BadBlockHeader},
        {"second block cut in its header", Concat(good, {0x02, 0x41, 0x00}),
         ReadError::TruncatedBlock},
        {"block length 9", short_length, ReadError::BadBlockLength},
        {"block longer than the file", long_length, ReadError::TruncatedBlock},
        {"record overruns the block", overrun, ReadError::BlockOverrun},
        {"record header overruns the block", overrun_header, ReadError::BlockOverrun},
        {"text length 51", long_text, ReadError::TextTooLong},
        {"block without E", no_end, ReadError::BadBlockEnd},
        {"density byte 0x10", density_16, ReadError::BadSetting},
        {"copies 0", copies_0, ReadError::BadSetting},
        {"copies 21", copies_21, ReadError::BadSetting},
        {"cut mode X", cut_x, ReadError::BadSetting},
        {"a block without records", Block({}), ReadError::EmptyBlock},
        {"a second block without records", Concat(good, Block({})), ReadError::EmptyBlock},
        {"second block copies", differing[0], ReadError::BlockSettingsDiffer},
        {"second block cut mode", differing[1], ReadError::BlockSettingsDiffer},
        {"second block density", differing[2], ReadError::BlockSettingsDiffer},
        {"second block spacing", differing[3], ReadError::BlockSettingsDiffer},
        {"second block arrangement", differing[4], ReadError::BlockSettingsDiffer},
        {"second block density 0", density_0, ReadError::BlockSettingsDiffer},
        {"1001 records", Concat(Block(std::vector<int>(600, 1)), Block(std::vector<int>(401, 1))),
         ReadError::BadCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult r = parse_udisk_file(c.file, model::JobSettings{}, "/a/b.qvu");
        EXPECT_EQ(r.error, c.error);
        EXPECT_TRUE(r.records.empty());
        EXPECT_EQ(r.count, 0);
        EXPECT_FALSE(r.message.empty());
    }
    EXPECT_EQ(text::gbk_to_utf8(parse_udisk_file(project, {}, "/a/b.qvu").message),
              "文件“/a/b.qvu”不是U盘打印文件，未读入任何内容。");
    EXPECT_EQ(text::gbk_to_utf8(parse_udisk_file(overrun, {}, "/a/b.qvu").message),
              "文件“/a/b.qvu”已损坏：第1块中的段超出了块的长度，未读入任何内容。");
    EXPECT_EQ(text::gbk_to_utf8(parse_udisk_file(density_0, {}, "/a/b.qvu").message),
              "文件“/a/b.qvu”已损坏：第2块的打印设置与第1块不同，未读入任何内容。");
    EXPECT_EQ(text::gbk_to_utf8(parse_udisk_file(Block({}), {}, "/a/b.qvu").message),
              "文件“/a/b.qvu”已损坏：第1块中没有段，未读入任何内容。");
    // Exactly 1000 records are fine.
    const ReadResult most = parse_udisk_file(
        Concat(Block(std::vector<int>(600, 1)), Block(std::vector<int>(400, 1))), {}, "b.qvu");
    EXPECT_TRUE(most.ok());
    EXPECT_EQ(most.count, 1000);
}

}  // namespace
}  // namespace qvprt::files
