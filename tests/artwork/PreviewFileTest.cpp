// The preview Quillfern.fac: segment order and sizes, every header field, the private note, and its
// five cards against the smallest strip's cells.
#include "ArtworkFiles.h"
#include "JpegChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace artwork_test {
namespace {

constexpr const char* kPreview = "Quillfern.fac";
constexpr const char* kSmallestStrip = "Quillfern1.edf";
constexpr std::size_t kPreviewSize = 40879;
constexpr std::size_t kEntropySize = 40168;
constexpr int kWidth = 480, kHeight = 138, kCellWidth = 96;
constexpr int kPreviewCells[] = {4, 10, 12, 17, 23};
// Mean absolute channel error allowed for a high-quality JPEG of the same card.
constexpr double kSameCardTolerance = 3.0;

class PreviewFile : public testing::Test {
protected:
    static void SetUpTestSuite() { jpeg_ = new JpegFile(ParseJpeg(kPreview)); }
    static void TearDownTestSuite() {
        delete jpeg_;
        jpeg_ = nullptr;
    }
    static const JpegFile& Jpeg() { return *jpeg_; }
    static inline JpegFile* jpeg_ = nullptr;
};

TEST_F(PreviewFile, SegmentsComeInTheGamesOrderWithExactSizes) {
    const JpegFile& j = Jpeg();
    std::vector<int> markers;
    for (const Segment& s : j.segments) markers.push_back(s.marker);
    EXPECT_EQ(markers, (std::vector<int>{kSoi, kApp0, kDqt, kDqt, kSof0, kDht, kDht, kDht, kDht, kApp1, kSos, kEoi}));
    EXPECT_EQ(j.file.size(), kPreviewSize);
    EXPECT_EQ(j.entropySize, kEntropySize);
    EXPECT_EQ(j.segments.back().offset + 2, j.file.size()) << "nothing may follow EOI";
    ExpectOnlyStuffedBytes(j);
}

TEST_F(PreviewFile, HeadersDescribeA480By138BaselinePicture) {
    const JpegFile& j = Jpeg();
    ASSERT_EQ(j.segments.size(), 12u);
    ExpectJfif101(j.segments[1], 200);
    ExpectQuantTable(j.segments[2], 0);
    ExpectQuantTable(j.segments[3], 1);
    ExpectBaselineFrame(j.segments[4], kWidth, kHeight);
    ExpectHuffmanTables({&j.segments[5], &j.segments[6], &j.segments[7], &j.segments[8]});
    ExpectFullScan(j.segments[10]);
}

TEST_F(PreviewFile, PrivateNoteHoldsTagKindAndPaddedCredit) {
    const JpegFile& j = Jpeg();
    ASSERT_EQ(j.segments.size(), 12u);
    const Bytes& note = j.segments[9].body;
    ASSERT_EQ(note.size(), 82u);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(note[i] >= 0x21 && note[i] <= 0x7E) << "tag byte " << i;
    EXPECT_EQ(note[4], 0);
    EXPECT_EQ(note[5], 15);
    const std::string text(note.begin() + 6, note.begin() + 81);
    for (char ch : text) EXPECT_TRUE(ch >= 0x20 && ch <= 0x7E);
    const std::size_t end = text.find_last_not_of(' ');
    ASSERT_NE(end, std::string::npos) << "the credit line is empty";
    EXPECT_LT(end, text.size() - 1) << "the credit line is padded with spaces";
    EXPECT_EQ(note[81], 0);
}

double MeanError(const Decoded& preview, int slot, const Bitmap& strip, int cell) {
    double sum = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            Pixel want = strip.At(cell * kCellWidth + x, y);
            if (want.IsKeyGreen()) want = Pixel{255, 255, 255};
            const Pixel got = preview.At(slot * kCellWidth + x, y);
            sum += std::abs(got.r - want.r) + std::abs(got.g - want.g) + std::abs(got.b - want.b);
        }
    }
    return sum / (kHeight * kCellWidth * 3);
}

// Each slot must look like its own cell and like no other cell better.
TEST_F(PreviewFile, CardsAreTheStripCellsTenJackQueenKingAce) {
    const Decoded preview = DecodeJpeg(Jpeg().file);
    ASSERT_EQ(preview.width, kWidth);
    ASSERT_EQ(preview.height, kHeight);
    ASSERT_EQ(preview.components, 3);
    const Bitmap strip = LoadBitmap(kSmallestStrip);
    for (int slot = 0; slot < 5; ++slot) {
        const double own = MeanError(preview, slot, strip, kPreviewCells[slot]);
        EXPECT_LE(own, kSameCardTolerance) << "slot " << slot;
        for (int cell = 0; cell < 25; ++cell) {
            if (cell == kPreviewCells[slot]) continue;
            EXPECT_GT(MeanError(preview, slot, strip, cell), own) << "slot " << slot << " looks like cell " << cell;
        }
    }
}

// The corners outside each card are white, and nothing of the strip's key green survives.
TEST_F(PreviewFile, CornersAreWhiteAndNoKeyGreenRemains) {
    const Decoded preview = DecodeJpeg(Jpeg().file);
    ASSERT_EQ(preview.width, kWidth);
    for (int slot = 0; slot < 5; ++slot) {
        const int x0 = slot * kCellWidth;
        for (auto [x, y] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}}) {
            for (const Pixel p : {preview.At(x0 + x, y), preview.At(x0 + kCellWidth - 1 - x, y),
                                  preview.At(x0 + x, kHeight - 1 - y), preview.At(x0 + kCellWidth - 1 - x, kHeight - 1 - y)}) {
                EXPECT_GE(std::min({p.r, p.g, p.b}), 225) << "slot " << slot;
            }
        }
    }
    int greenish = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Pixel p = preview.At(x, y);
            greenish += p.g > p.r + 60 && p.g > p.b + 60;
        }
    EXPECT_EQ(greenish, 0);
}

}  // namespace
}  // namespace artwork_test
