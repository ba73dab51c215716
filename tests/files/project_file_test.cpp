#include "files/project_file.h"

#include <gtest/gtest.h>

#include "file_test_util.h"
#include "files/file_messages.h"
#include "text/gbk.h"

namespace qvprt::files {
namespace {

using model::SegmentNode;
using namespace testing;

// Every field the project file carries, set to a value of its own.
void FillDistinct(SegmentNode& n, int k) {
    auto b = [k](int v) { return static_cast<std::uint8_t>(v + k); };
    auto c = [k](char v) { return static_cast<char>(v + k); };
    n.serial_upper = b(0x01);
    n.spare15 = b(0x02);
    n.decoration = c('B');
    n.reserved0 = b(0x03);
    n.spare16 = b(0x04);
    n.double_line = b(0x05);
    n.auto_font = b(0x06);
    n.font_size = b(0x07);
    n.char_scale = b(0x08);
    n.wide_char_count = b(0x09);
    n.serial_lower = b(0x0A);
    n.material_param = {c('a'), c('b'), c('c')};
    n.material = {c('d'), c('e'), c('f'), c('g')};
    n.serial_natural = b(0x0B);
    n.total_count = static_cast<std::uint16_t>(0x0C0D + k);
    n.repeat_text4 = {c('h'), c('i'), c('j'), c('k'), c('l')};
    n.repeat = static_cast<std::uint16_t>(0x0E0F + k);
    n.repeat_text = {c('m'), c('n'), c('o'), c('p'), c('q')};
    n.file_text_length = b(0x10);
    n.direction = {c('r'), c('s')};
    n.script_count = b(0x11);
    n.feed_dots = static_cast<std::uint16_t>(0x1213 + k);
    n.length_dots = static_cast<std::uint16_t>(0x1415 + k);
    n.auto_length = b(0x16);
    n.length_text = {c('t'), c('u'), c('v'), c('w')};
    n.serial_end = {c('x'), c('y'), c('z'), c('A')};
    n.serial_count = static_cast<std::uint16_t>(0x1718 + k);
    n.serial_start = {c('C'), c('D'), c('E'), c('F')};
    n.serial_width = b(0x19);
    n.serial_padded = b(0x1A);
    n.text_length = 2;
    text::copy_field(n.text, std::string{c('G'), c('H')});
    n.content_dots = static_cast<std::uint16_t>(0x1B1C + k);
    n.content_dots2 = static_cast<std::uint16_t>(0x1D1E + k);
    n.subscript_count = b(0x1F);
    n.superscript_count = b(0x20);
    n.spare_mark = c('I');
}

void ExpectStoredFieldsEqual(const SegmentNode& a, const SegmentNode& b) {
#define QVPRT_SAME(f) EXPECT_EQ(a.f, b.f) << #f
    QVPRT_SAME(serial_upper);
    QVPRT_SAME(spare15);
    QVPRT_SAME(decoration);
    QVPRT_SAME(reserved0);
    QVPRT_SAME(spare16);
    QVPRT_SAME(double_line);
    QVPRT_SAME(auto_font);
    QVPRT_SAME(font_size);
    QVPRT_SAME(char_scale);
    QVPRT_SAME(wide_char_count);
    QVPRT_SAME(serial_lower);
    QVPRT_SAME(material_param);
    QVPRT_SAME(material);
    QVPRT_SAME(serial_natural);
    QVPRT_SAME(total_count);
    QVPRT_SAME(repeat_text4);
    QVPRT_SAME(repeat);
    QVPRT_SAME(repeat_text);
    QVPRT_SAME(file_text_length);
    QVPRT_SAME(direction);
    QVPRT_SAME(script_count);
    QVPRT_SAME(feed_dots);
    QVPRT_SAME(length_dots);
    QVPRT_SAME(auto_length);
    QVPRT_SAME(length_text);
    QVPRT_SAME(serial_end);
    QVPRT_SAME(serial_count);
    QVPRT_SAME(serial_start);
    QVPRT_SAME(serial_width);
    QVPRT_SAME(serial_padded);
    QVPRT_SAME(text_length);
    QVPRT_SAME(text);
    QVPRT_SAME(content_dots);
    QVPRT_SAME(content_dots2);
    QVPRT_SAME(subscript_count);
    QVPRT_SAME(superscript_count);
    QVPRT_SAME(spare_mark);
#undef QVPRT_SAME
}

TEST(ProjectFile, StartUpJobBytes) {
    const model::JobSettings s;
    RecordList list(s, {0});
    const Bytes file = encode_project_file(s, list.head());
    const Bytes header = {0x00, 0x00, 0x00, 0x00, 0x09, 0x43, 0x00, 0x00, 0x00, 0x00,
                          0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    ASSERT_EQ(file.size(), 19u + 66);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 19), header);
    EXPECT_EQ(file[19 + 57], 0);  // text_length
    keep_in_corpus("project-start-up.qvk", file);
}

TEST(ProjectFile, RecordLayoutByteForByte) {
    model::JobSettings s;
    s.spacing = 0x0102;
    s.density = 12;
    s.cut_mode = 'L';
    s.arrangement = 1;
    s.material_index = 1;
    s.material_param_index = 2;
    RecordList list(s, {0});
    FillDistinct(*list.head(), 0);
    const Bytes expected = {
        0x02, 0x01, 0x00, 0x00, 0x0C, 'L',  0x01, 0x01, 0x00, 0x00, 0x00,       // settings
        0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                         // count
        0x01, 0x02, 'B',  0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,       //
        'a',  'b',  'c',  'd',  'e',  'f',  'g',  0x0B, 0x0D, 0x0C,             //
        'h',  'i',  'j',  'k',  'l',  0x0F, 0x0E, 'm',  'n',  'o',  'p',  'q',  //
        0x10, 's',  0x11, 0x13, 0x12, 0x15, 0x14, 0x16,                         //
        't',  'u',  'v',  'w',  'x',  'y',  'z',  'A',  0x18, 0x17,             //
        'C',  'D',  'E',  'F',  0x19, 0x1A, 0x02, 'G',  'H',                    //
        0x1C, 0x1B, 0x1E, 0x1D, 0x1F, 0x20, 'r',  'I'};
    EXPECT_EQ(encode_project_file(s, list.head()), expected);
}

TEST(ProjectFile, RoundTripGivesBackEveryStoredField) {
    model::JobSettings s;
    s.spacing = 20;
    s.density = 15;
    s.cut_mode = 'N';
    s.arrangement = 1;
    s.material_index = 2;
    s.material_param_index = 3;
    RecordList list(s, {0, 0, 0, 0});
    int k = 0;
    for (SegmentNode* n = list.head(); n != nullptr; n = n->next) {
        FillDistinct(*n, k++);
    }
    SegmentNode* last = list.at(3);
    last->text_length = 50;
    const std::string last_text = std::string(48, '\xb0') + "\xaa\xf2";
    text::copy_field(last->text, last_text);
    last->serial_upper = last->serial_padded = last->serial_lower = last->serial_natural = 0;
    list.head()->enabled = 0;  // not stored: every row comes back enabled
    list.head()->next->char_scale = 2;

    const Bytes file = encode_project_file(s, list.head());
    EXPECT_EQ(file.size(), 19u + 4 * 66 + 3 * 2 + 50);
    keep_in_corpus("project-four-rows.qvk", file);
    const ReadResult r = parse_project_file(file, model::JobSettings{}, "x.qvk");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.settings.spacing, 20);
    EXPECT_EQ(r.settings.density, 15);
    EXPECT_EQ(r.settings.cut_mode, 'N');
    EXPECT_EQ(r.settings.arrangement, 1);
    EXPECT_EQ(r.settings.material_index, 2);
    EXPECT_EQ(r.settings.material_param_index, 3);
    EXPECT_FALSE(r.settings.copies.has_value());
    EXPECT_TRUE(r.external_font);
    const SegmentNode* a = list.head();
    const SegmentNode* b = r.records.head();
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        ExpectStoredFieldsEqual(*a, *b);
        EXPECT_EQ(b->enabled, 1);
        EXPECT_EQ(b->is_current, 0);
        EXPECT_EQ(b->has_serial, a == last ? 0 : 1);
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
}

// A valid header announcing `count` records, then `body`.
Bytes Project(std::int32_t count, const Bytes& body = {}) {
    Bytes f = {0x00, 0x00, 0x00, 0x00, 0x09, 'C',  0x00, 0x00,
               0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    const auto u = static_cast<std::uint32_t>(count);
    for (int i = 0; i < 4; ++i) {
        f.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    }
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

Bytes Record(std::uint8_t text_length) {
    Bytes r(66 + text_length, 0x00);
    r[57] = text_length;
    return r;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ProjectFile, BadFilesAreRefusedWithTheirMessage) {
    struct Case {
        const char* name;
        Bytes file;
        ReadError error;
    };
    Bytes bad_density = Project(0);
    bad_density[4] = 0;
    Bytes bad_cut = Project(0);
    bad_cut[5] = 'X';
    Bytes bad_spacing = Project(0);
    bad_spacing[0] = 21;
    Bytes bad_arrangement = Project(0);
    bad_arrangement[6] = 2;
    Bytes bad_material = Project(0);
    bad_material[7] = 3;
    Bytes bad_label_param = Project(0);  // labels have three parameter entries
    bad_label_param[7] = 1;
    bad_label_param[11] = 3;
    Bytes cut_text = Record(5);
    cut_text.pop_back();
    const Case cases[] = {
        {"empty", {}, ReadError::TruncatedHeader},
        {"header cut short", Bytes(18, 0), ReadError::TruncatedHeader},
        {"count below 0", Project(-1), ReadError::BadCount},
        {"count above 1000", Project(1001), ReadError::BadCount},
        {"record cut before its text length", Project(1, Bytes(57, 0)), ReadError::TruncatedRecord},
        {"record cut in its text", Project(1, cut_text), ReadError::TruncatedRecord},
        {"fewer records than announced", Project(2, Record(1)), ReadError::TruncatedRecord},
        {"text length 51", Project(1, Record(51)), ReadError::TextTooLong},
        {"bytes after the last record", Concat(Project(1, Record(1)), {0x00}),
         ReadError::TrailingBytes},
        {"density 0", bad_density, ReadError::BadSetting},
        {"cut mode X", bad_cut, ReadError::BadSetting},
        {"spacing 21", bad_spacing, ReadError::BadSetting},
        {"arrangement 2", bad_arrangement, ReadError::BadSetting},
        {"material 3", bad_material, ReadError::BadSetting},
        {"label parameter 3", bad_label_param, ReadError::BadSetting},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult r = parse_project_file(c.file, model::JobSettings{}, "/a/b.qvk");
        EXPECT_EQ(r.error, c.error);
        EXPECT_TRUE(r.records.empty());
        EXPECT_EQ(r.count, 0);
        EXPECT_FALSE(r.message.empty());
    }
    // The largest valid count and an empty text are fine.
    Bytes most = Project(1000);
    for (int i = 0; i < 1000; ++i) {
        most = Concat(most, Record(static_cast<std::uint8_t>(i % 51)));
    }
    const ReadResult r = parse_project_file(most, model::JobSettings{}, "/a/b.qvk");
    EXPECT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.count, 1000);
}

TEST(ProjectFile, MessagesNameTheFileAndTheFault) {
    const ReadResult r = parse_project_file(Project(2, Concat(Record(0), Record(51))),
                                            model::JobSettings{}, "/a/b.qvk");
    EXPECT_EQ(text::gbk_to_utf8(r.message),
              "文件“/a/b.qvk”已损坏：第2段的文字长度为51字节，超过了50字节，未读入任何内容。");
    Bytes bad_cut = Project(0);
    bad_cut[5] = 'X';
    EXPECT_EQ(text::gbk_to_utf8(parse_project_file(bad_cut, {}, "b.qvk").message),
              "文件“b.qvk”已损坏：切割方式的值88无效，未读入任何内容。");
    EXPECT_EQ(text::gbk_to_utf8(message_caption()), "提示");
}

}  // namespace
}  // namespace qvprt::files
