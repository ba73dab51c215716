#include "editor/serial_numbers.h"

#include <gtest/gtest.h>

#include "text/bytes.h"

namespace qvprt::editor {
namespace {

TEST(SerialDialogTest, OpensOnTheStoredType) {
    struct Case {
        std::uint8_t natural, padded, upper, lower;
        SerialType want;
    };
    const Case cases[] = {{0, 0, 0, 0, SerialType::Natural},
                          {1, 0, 0, 0, SerialType::Natural},
                          {0, 1, 0, 0, SerialType::Padded},
                          {0, 0, 1, 0, SerialType::Upper},
                          {0, 0, 0, 1, SerialType::Lower}};
    for (const Case& c : cases) {
        SerialChoice s;
        s.natural = c.natural;
        s.padded = c.padded;
        s.upper = c.upper;
        s.lower = c.lower;
        EXPECT_EQ(InitialSerialType(s), c.want);
    }
    EXPECT_TRUE(EditModeFor(SerialType::Natural).digits);
    EXPECT_EQ(EditModeFor(SerialType::Padded).limit, 3);
    EXPECT_FALSE(EditModeFor(SerialType::Lower).digits);
    EXPECT_EQ(EditModeFor(SerialType::Lower).limit, 1);
    EXPECT_FALSE(EditModeFor(SerialType::Lower).upper_case);
    EXPECT_TRUE(EditModeFor(SerialType::Upper).upper_case);
}

TEST(SerialDialogTest, Ok) {
    struct Case {
        SerialType type;
        const char* start;
        const char* end;
        const char* refusal;  // nullptr: accepted
        const char* want_start;
        const char* want_end;
    };
    const Case cases[] = {
        {SerialType::Natural, "007", "12", nullptr, "7", "12"},
        {SerialType::Natural, "000", "010", nullptr, "0", "10"},
        {SerialType::Padded, "007", "12", nullptr, "007", "12"},
        {SerialType::Lower, "a", "c", nullptr, "a", "c"},
        {SerialType::Upper, "Z", "A", nullptr, "Z", "A"},
        {SerialType::Natural, "", "12", "开始序号不能为空！", "", ""},
        {SerialType::Natural, "", "", "开始序号不能为空！", "", ""},
        {SerialType::Padded, "1", "", "结束序号不能为空！", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const SerialAccept r = AcceptSerial(c.type, c.start, c.end);
        if (c.refusal != nullptr) {
            ASSERT_TRUE(std::holds_alternative<std::string_view>(r));
            EXPECT_EQ(std::get<std::string_view>(r), c.refusal);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<SerialChoice>(r));
        const SerialChoice& s = std::get<SerialChoice>(r);
        EXPECT_EQ(text::field_text(s.start), c.want_start);
        EXPECT_EQ(text::field_text(s.end), c.want_end);
        EXPECT_EQ(s.natural + s.padded + s.upper + s.lower, 1);
        EXPECT_EQ(InitialSerialType(s), c.type);
    }
}

TEST(SerialDialogTest, RangePreview) {
    struct Case {
        SerialType type;
        const char* start;
        const char* end;
        const char* want;
    };
    const Case cases[] = {
        {SerialType::Natural, "007", "12", "共6个：7, 8, … 12"},
        {SerialType::Padded, "1", "12", "共12个：001, 002, … 012"},
        {SerialType::Natural, "10", "8", "共3个：10, 9, 8"},
        {SerialType::Natural, "5", "5", "共1个：5"},
        {SerialType::Natural, "5", "6", "共2个：5, 6"},
        {SerialType::Lower, "a", "z", "共26个：a, b, … z"},
        {SerialType::Upper, "C", "A", "共3个：C, B, A"},
        {SerialType::Natural, "", "12", ""},
        {SerialType::Natural, "1", "", ""},
        {SerialType::Lower, "A", "c", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SerialPreview(c.type, c.start, c.end), c.want) << c.start << ".." << c.end;
    }
}

}  // namespace
}  // namespace qvprt::editor
