// The icon image and its group directory, as the resource script places them (RT_ICON 30001, RT_GROUP_ICON 1).
#include "ArtworkFiles.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace artwork_test {
namespace {

constexpr const char* kIconImage = "icon/icon.bin";
constexpr const char* kIconGroup = "icon/group.bin";
constexpr int kSide = 32;
constexpr std::size_t kColourBytes = 3072, kMaskBytes = 128, kImageSize = 3240;
constexpr int kTransparent = 470;

bool Transparent(const Bytes& icon, int x, int y) {
    const std::size_t row = 40 + kColourBytes + static_cast<std::size_t>(kSide - 1 - y) * 4;
    return (icon[row + x / 8] >> (7 - x % 8)) & 1;
}

Pixel Colour(const Bytes& icon, int x, int y) {
    const std::size_t at = 40 + static_cast<std::size_t>(kSide - 1 - y) * kSide * 3 + x * 3;
    return Pixel{icon[at + 2], icon[at + 1], icon[at]};
}

TEST(IconFiles, ImageHeaderDescribes32By32With24BitColourAndMask) {
    const Bytes icon = ReadResource(kIconImage);
    ASSERT_EQ(icon.size(), kImageSize);
    EXPECT_EQ(Le32(icon, 0), 40u);
    EXPECT_EQ(Le32Signed(icon, 4), kSide);
    EXPECT_EQ(Le32Signed(icon, 8), 2 * kSide) << "colour image and mask";
    EXPECT_EQ(Le16(icon, 12), 1);
    EXPECT_EQ(Le16(icon, 14), 24);
    EXPECT_EQ(Le32(icon, 16), 0u);
    EXPECT_EQ(Le32(icon, 32), 0u) << "no colour table";
    EXPECT_EQ(40 + kColourBytes + kMaskBytes, kImageSize);
}

TEST(IconFiles, MaskMarksExactly470PixelsTransparentAndThoseAreBlack) {
    const Bytes icon = ReadResource(kIconImage);
    ASSERT_EQ(icon.size(), kImageSize);
    int transparent = 0, colouredTransparent = 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (!Transparent(icon, x, y)) continue;
            ++transparent;
            const Pixel p = Colour(icon, x, y);
            colouredTransparent += (p.r | p.g | p.b) != 0;
        }
    }
    EXPECT_EQ(transparent, kTransparent);
    EXPECT_EQ(colouredTransparent, 0) << "transparent pixels must be black so the screen shows through";
    EXPECT_TRUE(Transparent(icon, 0, 0) && Transparent(icon, 31, 0) && Transparent(icon, 0, 31) && Transparent(icon, 31, 31));
}

struct ArmCase {
    const char* name;
    int x0, y0, x1, y1;
    bool red;
};

const ArmCase kArms[] = {
    {"HeartAbove", 11, 0, 21, 11, true},
    {"DiamondBelow", 11, 21, 21, 32, true},
    {"SpadeLeft", 0, 11, 11, 21, false},
    {"ClubRight", 21, 11, 32, 21, false},
};

void PrintTo(const ArmCase& c, std::ostream* os) { *os << c.name; }

class IconArm : public testing::TestWithParam<ArmCase> {};

// Each arm of the cross holds a suit of the right colour: red above and below, black left and right.
TEST_P(IconArm, HoldsASuitOfItsColour) {
    const ArmCase& c = GetParam();
    const Bytes icon = ReadResource(kIconImage);
    ASSERT_EQ(icon.size(), kImageSize);
    int opaque = 0, red = 0, dark = 0;
    for (int y = c.y0; y < c.y1; ++y) {
        for (int x = c.x0; x < c.x1; ++x) {
            if (Transparent(icon, x, y)) continue;
            ++opaque;
            const Pixel p = Colour(icon, x, y);
            red += p.r > 120 && p.r > p.g + 60 && p.r > p.b + 50;
            dark += p.r < 90 && p.g < 90 && p.b < 90;
        }
    }
    EXPECT_GT(opaque, 40);
    EXPECT_GT(c.red ? red : dark, opaque / 2);
    EXPECT_EQ(c.red ? dark : red, 0);
}

INSTANTIATE_TEST_SUITE_P(Cross, IconArm, testing::ValuesIn(kArms),
                         [](const testing::TestParamInfo<ArmCase>& info) { return std::string(info.param.name); });

TEST(IconFiles, GroupDirectoryHasOneEntryForImage30001) {
    const Bytes group = ReadResource(kIconGroup);
    const Bytes expected = {0, 0, 1, 0, 1, 0,                // reserved, type icon, one entry
                            32, 32, 0, 0, 1, 0, 24, 0,       // 32 x 32, colour count 0, reserved, planes, bits
                            0xA8, 0x0C, 0, 0, 0x31, 0x75};   // 3240 bytes, id 30001
    EXPECT_EQ(group, expected);
}

}  // namespace
}  // namespace artwork_test
