// Rows compiled as the file commands compile them, written and read back.
#include <gtest/gtest.h>

#include "editor/compile.h"
#include "file_test_util.h"
#include "files/project_file.h"
#include "files/udisk_reader.h"
#include "printing/job_stream.h"
#include "printing/udisk_file.h"

namespace qvprt::files {
namespace {

using model::SegmentNode;
using namespace testing;

TEST(CompiledRoundTrip, ProjectInEditFormAndUdiskInPrinterForm) {
    editor::SegmentGrid grid;
    model::JobSettings s;
    s.density = 11;
    const char* texts[][2] = {
        {"W101", ""},
        {"X\xaa\xf2"
         "2\xaa\xb5",
         "\xa3\xa8"
         "1\xa3\xa9"},             // superscript mark, symbol, （1）
        {"\xb5\xe7\xd4\xb4", ""},  // 电源
    };
    RecordList list(s, {0, 0, 0});
    for (int i = 0; i < 3; ++i) {
        grid.InsertItem(i);
        grid.SetCheck(i, i != 2);
        grid.SetCellText(i, editor::COL_TEXT, texts[i][0]);
        grid.SetCellText(i, editor::COL_TEXT2, texts[i][1]);
    }

    editor::CompileSegments(true, grid, s, list.head(), 0);
    const ReadResult project = parse_project_file(encode_project_file(s, list.head()), s, "j.qvk");
    ASSERT_TRUE(project.ok());
    const SegmentNode* b = project.records.head();
    for (const SegmentNode* a = list.head(); a != nullptr; a = a->next, b = b->next) {
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(std::string(b->text.data(), b->text_length),
                  std::string(a->text.data(), a->text_length));
        EXPECT_EQ(b->length_dots, a->length_dots);
        EXPECT_EQ(b->content_dots, a->content_dots);
        EXPECT_EQ(b->font_size, a->font_size);
        EXPECT_EQ(b->double_line, a->double_line);
        EXPECT_EQ(b->script_count, a->script_count);
    }

    editor::CompileSegments(false, grid, s, list.head(), 0);
    const Bytes file = printing::encode_udisk_file(s, list.head());
    keep_in_corpus("udisk-compiled.qvu", file);
    const ReadResult udisk = parse_udisk_file(file, s, "j.qvu");
    ASSERT_TRUE(udisk.ok());
    EXPECT_EQ(udisk.count, 2);  // the unchecked row is not printed
    EXPECT_EQ(udisk.settings.density, 11);
    b = udisk.records.head();
    for (const SegmentNode* a = list.head(); a != nullptr; a = a->next) {
        if (!printing::is_printable(*a)) {
            continue;
        }
        ASSERT_NE(b, nullptr);
        Bytes ra(106), rb(106);
        ra.resize(printing::encode_segment_record(*a, ra.data()));
        rb.resize(printing::encode_segment_record(*b, rb.data()));
        EXPECT_EQ(rb, ra);
        b = b->next;
    }
    EXPECT_EQ(b, nullptr);
}

}  // namespace
}  // namespace qvprt::files
