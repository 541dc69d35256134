// The four card strips: every header field, the fill and trailing bytes, the key-green corners,
// the grey outline, suit colours and pip layouts, checked on the committed files.
#include "ArtworkFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace artwork_test {
namespace {

struct StripCase {
    const char* name;
    const char* file;
    int width, height, cellWidth;
    std::uint32_t stride, fillBytes, imageSize, fileSizeField, entrySize;
    std::vector<int> cornerRuns;
};

const StripCase kStrips[] = {
    {"Quillfern1", "Quillfern1.edf", 2400, 138, 96, 7200, 0, 993600, 993654, 993656, {5, 3, 2, 1, 1}},
    {"Quillfern2", "Quillfern2.edf", 2975, 172, 119, 8928, 3, 1535616, 1535670, 1535672, {5, 3, 2, 1, 1}},
    {"Quillfern3", "Quillfern3.edf", 3575, 206, 143, 10728, 3, 2209968, 2210022, 2210024, {5, 3, 2, 1, 1}},
    {"Quillfern4", "Quillfern4.edf", 4525, 261, 181, 13576, 1, 3543336, 3543390, 3543392, {6, 4, 3, 2, 1, 1}},
};

constexpr int kCells = 25;
constexpr int kJoker = 24;

void PrintTo(const StripCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const testing::TestParamInfo<StripCase>& info) { return info.param.name; }

// Bitmaps are large; each is read once for all the tests of its row. Map nodes keep their
// addresses, so references handed out stay valid as more strips are loaded.
const Bitmap& Loaded(const StripCase& c) {
    static std::map<std::string, Bitmap> cache;
    auto found = cache.find(c.file);
    if (found == cache.end()) found = cache.emplace(c.file, LoadBitmap(c.file)).first;
    return found->second;
}

std::set<std::pair<int, int>> ExpectedKeyPixels(const StripCase& c) {
    std::set<std::pair<int, int>> keys;
    for (int cell = 0; cell < kCells; ++cell) {
        const int x0 = cell * c.cellWidth;
        for (int row = 0; row < static_cast<int>(c.cornerRuns.size()); ++row) {
            for (int i = 0; i < c.cornerRuns[row]; ++i) {
                keys.insert({x0 + i, row});
                keys.insert({x0 + c.cellWidth - 1 - i, row});
                keys.insert({x0 + i, c.height - 1 - row});
                keys.insert({x0 + c.cellWidth - 1 - i, c.height - 1 - row});
            }
        }
    }
    return keys;
}

class StripFile : public testing::TestWithParam<StripCase> {};

TEST_P(StripFile, HeadersHoldEveryField) {
    const StripCase& c = GetParam();
    const Bytes& f = Loaded(c).file;
    ASSERT_EQ(f.size(), c.entrySize);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f, 2), c.fileSizeField);
    EXPECT_EQ(Le16(f, 6), 0);
    EXPECT_EQ(Le16(f, 8), 0);
    EXPECT_EQ(Le32(f, 10), 54u);
    EXPECT_EQ(Le32(f, 14), 40u);
    EXPECT_EQ(Le32Signed(f, 18), c.width);
    EXPECT_EQ(Le32Signed(f, 22), c.height);
    EXPECT_EQ(Le16(f, 26), 1);
    EXPECT_EQ(Le16(f, 28), 24);
    EXPECT_EQ(Le32(f, 30), 0u);
    EXPECT_EQ(Le32(f, 34), c.imageSize);
    EXPECT_EQ(Le32Signed(f, 38), 7874);
    EXPECT_EQ(Le32Signed(f, 42), 7874);
    EXPECT_EQ(Le32(f, 46), 0u);
    EXPECT_EQ(Le32(f, 50), 0u);
    EXPECT_EQ(c.stride * static_cast<std::uint32_t>(c.height), c.imageSize);
    EXPECT_EQ(c.width, kCells * c.cellWidth);
}

TEST_P(StripFile, RowFillAndTwoTrailingBytesAreZero) {
    const StripCase& c = GetParam();
    const Bitmap& bmp = Loaded(c);
    ASSERT_EQ(bmp.stride, c.stride);
    ASSERT_EQ(bmp.stride - static_cast<std::size_t>(c.width) * 3, c.fillBytes);
    int nonZeroFill = 0;
    for (int row = 0; row < c.height; ++row) {
        const std::size_t end = 54 + static_cast<std::size_t>(row + 1) * c.stride;
        for (std::size_t i = end - c.fillBytes; i < end; ++i) nonZeroFill += bmp.file[i] != 0;
    }
    EXPECT_EQ(nonZeroFill, 0);
    ASSERT_EQ(bmp.file.size(), 54 + static_cast<std::size_t>(c.imageSize) + 2);
    EXPECT_EQ(bmp.file[bmp.file.size() - 2], 0);
    EXPECT_EQ(bmp.file[bmp.file.size() - 1], 0);
}

TEST_P(StripFile, KeyGreenFillsExactlyTheCornersOfEveryCell) {
    const StripCase& c = GetParam();
    const Bitmap& bmp = Loaded(c);
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (bmp.At(x, y).IsKeyGreen()) found.insert({x, y});
    const auto expected = ExpectedKeyPixels(c);
    int perCorner = 0;
    for (int run : c.cornerRuns) perCorner += run;
    EXPECT_EQ(expected.size(), static_cast<std::size_t>(kCells * 4 * perCorner));
    std::vector<std::pair<int, int>> missing, extra;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    EXPECT_TRUE(missing.empty()) << missing.size() << " corner pixels are not key green, first at x "
                                 << missing.front().first << " y " << missing.front().second;
    EXPECT_TRUE(extra.empty()) << extra.size() << " key green pixels outside the corners, first at x "
                               << extra.front().first << " y " << extra.front().second;
}

TEST_P(StripFile, FirstAndLastStoredPixelsAreKeyGreen) {
    const StripCase& c = GetParam();
    const Bytes& f = Loaded(c).file;
    const std::size_t last = 54 + static_cast<std::size_t>(c.imageSize) - c.fillBytes - 3;
    EXPECT_EQ(f[54], 0);
    EXPECT_EQ(f[55], 255);
    EXPECT_EQ(f[56], 0);
    EXPECT_EQ(f[last], 0);
    EXPECT_EQ(f[last + 1], 255);
    EXPECT_EQ(f[last + 2], 0);
}

// The game keys the green out: a neighbour tinted toward green would leave a green fringe.
TEST_P(StripFile, NoPixelBesideTheKeyIsTintedGreen) {
    const StripCase& c = GetParam();
    const Bitmap& bmp = Loaded(c);
    int tinted = 0, checked = 0;
    for (const auto& [kx, ky] : ExpectedKeyPixels(c)) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = kx + dx, y = ky + dy;
                if (x < 0 || y < 0 || x >= c.width || y >= c.height) continue;
                const Pixel p = bmp.At(x, y);
                if (p.IsKeyGreen()) continue;
                ++checked;
                tinted += p.g > std::max(p.r, p.b) + 2;
            }
        }
    }
    EXPECT_GT(checked, 0);
    EXPECT_EQ(tinted, 0);
}

// A thin grey line runs along all four edges of each cell, between the corners.
TEST_P(StripFile, EveryCellHasAGreyOutline) {
    const StripCase& c = GetParam();
    const Bitmap& bmp = Loaded(c);
    const int skip = c.cornerRuns.front();
    auto isOutline = [](Pixel p) { return p.r == p.g && p.g == p.b && p.r >= 64 && p.r <= 200; };
    for (int cell = 0; cell < kCells; ++cell) {
        const int x0 = cell * c.cellWidth, x1 = x0 + c.cellWidth - 1;
        int bad = 0;
        for (int x = x0 + skip; x <= x1 - skip; ++x) bad += !isOutline(bmp.At(x, 0)) + !isOutline(bmp.At(x, c.height - 1));
        for (int y = skip; y < c.height - skip; ++y) bad += !isOutline(bmp.At(x0, y)) + !isOutline(bmp.At(x1, y));
        EXPECT_EQ(bad, 0) << "cell " << cell;
        const Pixel inside = bmp.At(x0 + 2, c.height / 2);
        EXPECT_GT(inside.r, 200) << "cell " << cell << " has no light face inside its outline";
    }
}

// Ink of the top-left index tells the suit: red for hearts and diamonds, black for clubs and spades.
TEST_P(StripFile, IndexColoursFollowTheSuitOrder) {
    const StripCase& c = GetParam();
    const Bitmap& bmp = Loaded(c);
    for (int cell = 0; cell < kJoker; ++cell) {
        int red = 0, black = 0;
        for (int y = 2; y < c.height / 4; ++y) {
            for (int x = 2; x < c.cellWidth / 5; ++x) {
                const Pixel p = bmp.At(cell * c.cellWidth + x, y);
                red += p.r > 150 && p.g < 80 && p.b < 90;
                black += p.r < 70 && p.g < 70 && p.b < 70;
            }
        }
        const bool redSuit = cell % 4 < 2;
        EXPECT_GT(redSuit ? red : black, 20) << "cell " << cell;
        EXPECT_EQ(redSuit ? black : red, 0) << "cell " << cell;
    }
}

int CountInkBlobs(const Bitmap& bmp, int x0, int y0, int x1, int y1) {
    const int w = x1 - x0, h = y1 - y0;
    std::vector<int> label(static_cast<std::size_t>(w) * h, 0);
    auto ink = [&](int x, int y) {
        const Pixel p = bmp.At(x0 + x, y0 + y);
        return p.r + p.g + p.b < 400;
    };
    int blobs = 0;
    std::vector<std::pair<int, int>> stack;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (label[y * w + x] || !ink(x, y)) continue;
            ++blobs;
            stack.push_back({x, y});
            label[y * w + x] = blobs;
            while (!stack.empty()) {
                auto [px, py] = stack.back();
                stack.pop_back();
                const int nx[] = {px + 1, px - 1, px, px};
                const int ny[] = {py, py, py + 1, py - 1};
                for (int k = 0; k < 4; ++k) {
                    if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
                    if (label[ny[k] * w + nx[k]] || !ink(nx[k], ny[k])) continue;
                    label[ny[k] * w + nx[k]] = blobs;
                    stack.push_back({nx[k], ny[k]});
                }
            }
        }
    }
    return blobs;
}

// Between the indices the nines show nine separate pips, the tens ten and the aces one.
TEST_P(StripFile, PipCountsMatchTheRankOrder) {
    const StripCase& c = GetParam();
    const Bitmap& bmp = Loaded(c);
    const struct {
        int rank, pips;
    } rows[] = {{0, 9}, {1, 10}, {5, 1}};
    for (const auto& r : rows) {
        for (int suit = 0; suit < 4; ++suit) {
            const int cell = 4 * r.rank + suit;
            if (cell == 23) continue;  // the ornate ace of spades is more than one shape
            const int x0 = cell * c.cellWidth;
            EXPECT_EQ(CountInkBlobs(bmp, x0 + c.cellWidth * 21 / 100, c.height * 12 / 100, x0 + c.cellWidth * 79 / 100,
                                    c.height * 88 / 100),
                      r.pips)
                << "cell " << cell;
        }
    }
}

// Block averages of a cell on a coarse grid: comparable across the four sizes.
std::vector<double> CellSignature(const Bitmap& bmp, int cellWidth, int cell) {
    constexpr int kCols = 6, kRows = 8;
    std::vector<double> sig;
    for (int gy = 0; gy < kRows; ++gy) {
        for (int gx = 0; gx < kCols; ++gx) {
            const int x0 = cell * cellWidth + 2 + gx * (cellWidth - 4) / kCols;
            const int x1 = cell * cellWidth + 2 + (gx + 1) * (cellWidth - 4) / kCols;
            const int y0 = 2 + gy * (bmp.height - 4) / kRows, y1 = 2 + (gy + 1) * (bmp.height - 4) / kRows;
            double r = 0, g = 0, b = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const Pixel p = bmp.At(x, y);
                    r += p.r;
                    g += p.g;
                    b += p.b;
                }
            const double n = static_cast<double>(x1 - x0) * (y1 - y0);
            sig.insert(sig.end(), {r / n, g / n, b / n});
        }
    }
    return sig;
}

double SignatureDistance(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
    return sum / a.size();
}

// The larger strips hold the same 25 cards in the same order as the smallest: each cell looks most
// like its namesake there, and closely.
class LargerStrip : public testing::TestWithParam<StripCase> {};

TEST_P(LargerStrip, HoldsTheSameCardsInTheSameOrderAsTheSmallest) {
    const StripCase& c = GetParam();
    const StripCase& smallest = kStrips[0];
    const Bitmap& big = Loaded(c);
    const Bitmap& small = Loaded(smallest);
    std::vector<std::vector<double>> reference;
    for (int cell = 0; cell < kCells; ++cell) reference.push_back(CellSignature(small, smallest.cellWidth, cell));
    for (int cell = 0; cell < kCells; ++cell) {
        const std::vector<double> sig = CellSignature(big, c.cellWidth, cell);
        const double own = SignatureDistance(sig, reference[cell]);
        EXPECT_LT(own, 6.0) << "cell " << cell;
        for (int other = 0; other < kCells; ++other) {
            if (other == cell) continue;
            EXPECT_GT(SignatureDistance(sig, reference[other]), own) << "cell " << cell << " looks like cell " << other;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Strips, StripFile, testing::ValuesIn(kStrips), CaseName);
INSTANTIATE_TEST_SUITE_P(Strips, LargerStrip, testing::ValuesIn(std::begin(kStrips) + 1, std::end(kStrips)), CaseName);

}  // namespace
}  // namespace artwork_test
