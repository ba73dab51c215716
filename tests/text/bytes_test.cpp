#include "text/bytes.h"

#include <gtest/gtest.h>

namespace qvprt::text {
namespace {

TEST(Bytes, CopyFieldClearsBeforeCopyingAndCuts) {
    std::array<char, 4> f{'9', '9', '9', '9'};
    copy_field(f, "12");
    EXPECT_EQ(f, (std::array<char, 4>{'1', '2', 0, 0}));
    EXPECT_EQ(field_text(f), "12");
    copy_field(f, "ABCDEF");
    EXPECT_EQ(f, (std::array<char, 4>{'A', 'B', 'C', 'D'}));
    EXPECT_EQ(field_text(f), "ABCD");
    copy_field(f, std::string_view{});  // no text and no pointer to one
    EXPECT_EQ(f, (std::array<char, 4>{}));
}

TEST(Bytes, Endianness) {
    unsigned char b[4];
    put_be16(b, 0x290E);
    EXPECT_EQ(b[0], 0x29);
    EXPECT_EQ(b[1], 0x0E);
    EXPECT_EQ(get_be16(b), 0x290E);
    put_le16(b, 0x290E);
    EXPECT_EQ(b[0], 0x0E);
    EXPECT_EQ(get_le16(b), 0x290E);
    put_le32(b, 0x80010203u);
    EXPECT_EQ(b[0], 0x03);
    EXPECT_EQ(b[3], 0x80);
    EXPECT_EQ(get_le32(b), 0x80010203u);
}

}  // namespace
}  // namespace qvprt::text
