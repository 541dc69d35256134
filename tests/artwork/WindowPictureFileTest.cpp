// The window picture window.jpg: a clean baseline JFIF 1.01 picture of 151 x 96 in exactly 8,541 bytes.
#include "ArtworkFiles.h"
#include "JpegChecks.h"

#include <gtest/gtest.h>

#include <vector>

namespace artwork_test {
namespace {

constexpr const char* kWindowPicture = "window.jpg";
constexpr std::size_t kWindowPictureSize = 8541;
constexpr int kWidth = 151, kHeight = 96;

TEST(WindowPictureFile, IsABaselineJfifOfExactSize) {
    const JpegFile j = ParseJpeg(kWindowPicture);
    EXPECT_EQ(j.file.size(), kWindowPictureSize);
    EXPECT_EQ(j.segments.back().offset + 2, j.file.size()) << "nothing may follow EOI";
    ExpectOnlyStuffedBytes(j);
    std::vector<int> markers;
    std::vector<const Segment*> dht;
    for (const Segment& s : j.segments) {
        markers.push_back(s.marker);
        if (s.marker == kDht) dht.push_back(&s);
    }
    EXPECT_EQ(markers, (std::vector<int>{kSoi, kApp0, kDqt, kDqt, kSof0, kDht, kDht, kDht, kDht, kSos, kEoi}));
    ASSERT_EQ(j.segments.size(), 11u);
    EXPECT_EQ(Be16(j.segments[1].body, 8), Be16(j.segments[1].body, 10)) << "square pixels";
    ExpectJfif101(j.segments[1], Be16(j.segments[1].body, 8));
    ExpectQuantTable(j.segments[2], 0);
    ExpectQuantTable(j.segments[3], 1);
    ExpectBaselineFrame(j.segments[4], kWidth, kHeight);
    ExpectHuffmanTables(dht);
    ExpectFullScan(j.segments[9]);
}

// The fan spans the picture: cards reach both sides, and the whole card at the right is light.
TEST(WindowPictureFile, DecodesToCardsFannedAcrossThePicture) {
    const Decoded d = DecodeJpeg(ReadResource(kWindowPicture));
    ASSERT_EQ(d.width, kWidth);
    ASSERT_EQ(d.height, kHeight);
    ASSERT_EQ(d.components, 3);
    auto columnHasWhite = [&](int x) {
        for (int y = 0; y < kHeight; ++y) {
            const Pixel p = d.At(x, y);
            if (p.r > 245 && p.g > 245 && p.b > 245) return true;
        }
        return false;
    };
    int whiteColumns = 0;
    for (int x = 0; x < kWidth; ++x) whiteColumns += columnHasWhite(x);
    EXPECT_GT(whiteColumns, kWidth * 3 / 4);
}

}  // namespace
}  // namespace artwork_test
