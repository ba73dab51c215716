#include "text/gbk.h"

#include <gtest/gtest.h>

#include <string>

namespace qvprt::text {
namespace {

struct Pair {
    const char* gbk;
    std::u16string unicode;
};

// Characters the system stores: GB2312 hanzi, full-width punctuation, the number sign, the star,
// the symbols of the user-defined area and the superscript and subscript marks.
const Pair kPairs[] = {
    {"AB1\x1a\x1c", u"AB1\x1a\x1c"},
    {"\xb0\xa1", u"\u554a"},  // 啊
    {"\xd6\xd0\xce\xc4", u"中文"},
    {"\xa1\xbe\xa1\xbf", u"【】"},
    {"\xa3\xa8\xa3\xa9\xa3\xbb\xa3\xba\xa1\xa3\xa3\xac\xa1\xa2", u"（）；：。，、"},
    {"\xa3\xbf\xa3\xa1\xa1\xb6\xa1\xb7\xa3\xa4\xa1\xad\xa1\xaa\xa1\xa4", u"？！《》￥…—·"},
    {"\xa1\xb0\xa1\xb1\xa1\xae\xa1\xaf\xa3\xa3\xa3\xa6\xa3\xc0", u"“”‘’＃＆＠"},
    {"\xa1\xed", u"\u2116"},  // №
    {"\xa1\xef", u"\u2605"},  // ★
    {"\xaa\xa1", u"\ue000"},
    {"\xaa\xed", u"\ue04c"},
    {"\xaa\xf2", u"\ue051"},
    {"\xaa\xf3", u"\ue052"},
    {"\xaf\xfe", u"\ue233"},
};

TEST(Gbk, RoundTripsByteExact) {
    for (const auto& p : kPairs) {
        SCOPED_TRACE(p.gbk);
        const DecodeResult d = decode_gbk(p.gbk);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.text, p.unicode);
        const EncodeResult e = encode_gbk(p.unicode);
        ASSERT_TRUE(e.ok);
        EXPECT_EQ(e.bytes, p.gbk);
        EXPECT_EQ(utf8_to_gbk(gbk_to_utf8(p.gbk)).bytes, p.gbk);
    }
}

TEST(Gbk, EveryUserDefinedCodeMapsToPrivateUse) {
    for (int lead = 0xAA; lead <= 0xAF; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string b{static_cast<char>(lead), static_cast<char>(trail)};
            const DecodeResult d = decode_gbk(b);
            ASSERT_TRUE(d.ok) << lead << ' ' << trail;
            ASSERT_EQ(d.text.size(), 1u);
            EXPECT_EQ(d.text[0], 0xE000 + (lead - 0xAA) * 94 + (trail - 0xA1));
            EXPECT_EQ(encode_gbk(d.text).bytes, b);
        }
    }
}

TEST(Gbk, EncodeRefusesCharactersWithoutTwoByteCode) {
    struct Case {
        std::u16string text;
        char32_t refused;
        std::size_t index;
    };
    const Case cases[] = {
        {u"A\u00a9", 0xA9, 1},            // ©: four bytes in GB 18030
        {u"中\U0001F600文", 0x1F600, 1},  // supplementary plane
        {u"AB\xd800", 0xD800, 2},         // lone surrogate
        {u"\u0080", 0x80, 0},
        {u"\uac00", 0xAC00, 0},  // hangul
    };
    for (const auto& c : cases) {
        const EncodeResult e = encode_gbk(c.text);
        EXPECT_FALSE(e.ok);
        EXPECT_TRUE(e.bytes.empty());
        EXPECT_EQ(e.refused, c.refused);
        EXPECT_EQ(e.refused_index, c.index);
    }
    EXPECT_EQ(code_point_name(0x20AC), "U+20AC");
}

TEST(Gbk, DecodeRefusesWhatIsNoOneOrTwoByteCode) {
    struct Case {
        std::string bytes;
        std::size_t offset;
    };
    const Case cases[] = {
        {"AB\xb0", 2},            // lead byte at the end
        {"\x81\x30\x81\x30", 0},  // four-byte GB 18030 code
        {"A\x80", 1},
        {"A\xff\xa1", 1},
        {"\xb0\xa1\xb0\x20", 2},  // second byte out of range
    };
    for (const auto& c : cases) {
        const DecodeResult d = decode_gbk(c.bytes);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.bad_offset, c.offset);
    }
    EXPECT_EQ(gbk_to_utf16("A\xff\xb0\xa1"), u"A\ufffd\u554a");
    EXPECT_EQ(gbk_to_utf16("\xb0"), u"\ufffd");
}

TEST(Gbk, FindMatchesOnlyOnCharacterBoundaries) {
    // 场北 is B3 A1 B1 B1: its middle bytes are ” (A1 B1) but no character starts there.
    EXPECT_EQ(gbk_find("\xb3\xa1\xb1\xb1", "\xa1\xb1"), std::string_view::npos);
    EXPECT_EQ(gbk_find("A\xa1\xb1", "\xa1\xb1"), 1u);
    EXPECT_EQ(gbk_find("\xb3\xa1\xa1\xb1", "\xa1\xb1"), 2u);
    EXPECT_EQ(gbk_find("abc", "c", 1), 2u);
}

TEST(Gbk, CountAndReplaceWalkByCharacters) {
    struct Case {
        std::string bytes;
        std::string needle;
        std::string replacement;
        int count;
        std::size_t last;
        std::string replaced;
    };
    constexpr auto npos = std::string_view::npos;
    const Case cases[] = {
        {"\xb3\xa1\xb1\xb1", "\xa1\xb1", "\"", 0, npos, "\xb3\xa1\xb1\xb1"},  // 场北
        {"\xa1\xb1\xa1\xb1", "\xa1\xb1", "\"", 2, 2, "\"\""},
        // — (A1 AA) then F2 A1: the bytes AA F2 in between are no mark.
        {"\xa1\xaa\xf2\xa1", "\xaa\xf2", "\x1c", 0, npos, "\xa1\xaa\xf2\xa1"},
        {"X\xaa\xf2\xaa\xf2Y", "\xaa\xf2", "\x1c", 2, 3, "X\x1c\x1cY"},
        // A replacement that spells the needle again is not matched a second time.
        {"aa", "a", "aa", 2, 1, "aaaa"},
        {"\xa1\xa2x\xa1\xa2", "\xa1\xa2", "", 2, 3, "x"},  // 、 removed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        std::size_t last = 0;
        EXPECT_EQ(gbk_count(c.bytes, c.needle, &last), c.count);
        EXPECT_EQ(last, c.last);
        std::string s = c.bytes;
        EXPECT_EQ(gbk_replace_all(s, c.needle, c.replacement), c.count);
        EXPECT_EQ(s, c.replaced);
    }
    std::string two = "\xa1\xed-\xa1\xed";  // №-№
    EXPECT_TRUE(gbk_replace_first(two, "\xa1\xed", "\x14"));
    EXPECT_EQ(two, "\x14-\xa1\xed");
    EXPECT_FALSE(gbk_replace_first(two, "\xb1\xb1", "x"));
}

}  // namespace
}  // namespace qvprt::text
