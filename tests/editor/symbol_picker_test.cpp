#include "editor/symbol_picker.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "layout/symbol_table.h"
#include "text/gbk.h"

namespace qvprt::editor {
namespace {

// The dialog's picture: 626 x 212 pixels at (3, 3), so cells of 39 x 42 with 2 pixels over at the
// right and at the bottom.
constexpr PictureRect kPicture{3, 3, 626, 212};
// A picture that divides evenly: its right and bottom border lie in the last column and row.
constexpr PictureRect kEven{10, 20, 640, 200};

struct HitCase {
    const char* name;
    PictureRect picture;
    int x, y;
    int entry;
};

class SymbolAtTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(SymbolAtTest, FindsTheCellUnderThePoint) {
    const HitCase& c = GetParam();
    EXPECT_EQ(SymbolAt(c.picture, c.x, c.y), c.entry);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SymbolAtTest,
    ::testing::Values(
        HitCase{"TopLeftBorderIsEarth", kPicture, 3, 3, 0},
        HitCase{"LastPixelOfTheFirstCell", kPicture, 41, 44, 0},
        HitCase{"SecondCell", kPicture, 42, 3, 1},
        HitCase{"SecondRowFirstCell", kPicture, 3, 45, 16},
        HitCase{"Row3Column15", kPicture, 3 + 15 * 39, 3 + 3 * 42, 63},
        HitCase{"Row4Column12IsOmega", kPicture, 3 + 12 * 39 + 20, 3 + 4 * 42 + 20, 76},
        HitCase{"Row4Column13IsEmpty", kPicture, 3 + 13 * 39, 3 + 4 * 42, -1},
        HitCase{"Row4Column15IsEmpty", kPicture, 3 + 15 * 39 + 38, 3 + 4 * 42 + 41, -1},
        HitCase{"Column16IsNothing", kPicture, 3 + 16 * 39, 10, -1},
        HitCase{"RightBorderInColumn16", kPicture, 3 + 626 - 1, 10, -1},
        HitCase{"Row5IsNothing", kPicture, 10, 3 + 5 * 42, -1},
        HitCase{"LeftOfThePicture", kPicture, 2, 10, -1},
        HitCase{"AboveThePicture", kPicture, 10, 2, -1},
        HitCase{"RightOfThePicture", kPicture, 3 + 626, 10, -1},
        HitCase{"BelowThePicture", kPicture, 10, 3 + 212, -1},
        HitCase{"FarOutside", kPicture, -5000, 90000, -1},
        HitCase{"EvenRightBorderCountsForColumn15", kEven, 10 + 639, 20, 15},
        HitCase{"EvenBottomBorderCountsForRow4", kEven, 10, 20 + 199, 64},
        HitCase{"PictureNarrowerThanItsGrid", PictureRect{0, 0, 15, 200}, 3, 3, -1},
        HitCase{"PictureLowerThanItsGrid", PictureRect{0, 0, 640, 4}, 3, 3, -1},
        HitCase{"EmptyPicture", PictureRect{0, 0, 0, 0}, 0, 0, -1}),
    [](const ::testing::TestParamInfo<HitCase>& p) { return std::string(p.param.name); });

TEST(SymbolTableTest, EntriesRunFromAaA1ToAaEd) {
    ASSERT_EQ(layout::SYMBOL_COUNT, 77);
    EXPECT_EQ(layout::kSymbolTable[0], "\xAA\xA1");
    EXPECT_EQ(layout::kSymbolTable[2], "\xAA\xA3");
    EXPECT_EQ(layout::kSymbolTable[76], "\xAA\xED");
    for (int i = 0; i < layout::SYMBOL_COUNT; ++i) {
        const auto& e = layout::kSymbolTable[i];
        EXPECT_EQ(layout::symbol_index(static_cast<unsigned char>(e[0]),
                                       static_cast<unsigned char>(e[1])),
                  i);
    }
    EXPECT_EQ(layout::symbol_index(0xAA, 0xA0), -1);
    EXPECT_EQ(layout::symbol_index(0xAA, 0xEE), -1);
    EXPECT_EQ(layout::symbol_index(0xA1, 0xA1), -1);
}

// A tooltip without a name, or one the window cannot show, leaves the user guessing.
TEST(SymbolTableTest, EverySymbolHasItsOwnName) {
    std::set<std::string> names;
    for (int i = 0; i < layout::SYMBOL_COUNT; ++i) {
        const std::string name = SymbolName(i);
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_TRUE(text::utf8_to_gbk(layout::kSymbolNames[i]).ok) << i;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), std::size_t{77});
    EXPECT_EQ(text::gbk_to_utf8(SymbolName(48)), "千欧");
    EXPECT_EQ(SymbolName(-1), "");
    EXPECT_EQ(SymbolName(77), "");
}

TEST(SymbolPickerTest, CollectsInClickOrderAndReselectEmpties) {
    SymbolPicker picker;
    const int ax = 3 + 2 * 39 + 5, ay = 10;  // "A" in an octagon
    EXPECT_TRUE(picker.OnDoubleClick(kPicture, ax, ay));
    EXPECT_TRUE(picker.OnDoubleClick(kPicture, ax, ay));
    EXPECT_TRUE(picker.OnDoubleClick(kPicture, ax, ay));
    EXPECT_EQ(picker.symbols(), "\xAA\xA3\xAA\xA3\xAA\xA3");
    EXPECT_FALSE(picker.OnDoubleClick(kPicture, 3 + 14 * 39, 3 + 4 * 42));
    EXPECT_TRUE(picker.OnDoubleClick(kPicture, 3, 3));
    EXPECT_EQ(picker.symbols(), "\xAA\xA3\xAA\xA3\xAA\xA3\xAA\xA1");
    picker.Reselect();
    EXPECT_EQ(picker.symbols(), "");
    EXPECT_TRUE(picker.OnDoubleClick(kPicture, 3 + 12 * 39, 3 + 4 * 42));
    EXPECT_EQ(picker.symbols(), "\xAA\xED");
}

}  // namespace
}  // namespace qvprt::editor
