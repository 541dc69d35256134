// Bitmap strip layout: 25 cells side by side, headers written field by field in little-endian order.
#include "bmp_strip.h"

#include "cards.h"
#include "little_endian.h"

namespace art {

namespace {

constexpr int kPixelsPerMetre = 7874;  // 200 dots per inch
constexpr std::uint32_t kHeadersSize = 14 + 40;
constexpr std::size_t kTrailingZeros = 2;

}  // namespace

const std::vector<StripSize>& StripSizes() {
    // Radii 8 and 9 put the card's curve through the centres of the pixels the key runs leave.
    static const std::vector<StripSize> sizes = {
        {96, 138, 8.0, {5, 3, 2, 1, 1}},
        {119, 172, 8.0, {5, 3, 2, 1, 1}},
        {143, 206, 8.0, {5, 3, 2, 1, 1}},
        {181, 261, 9.0, {6, 4, 3, 2, 1, 1}},
    };
    return sizes;
}

Image RenderStrip(const Font& font, const StripSize& size) {
    Image strip(size.cellWidth * kCellCount, size.cellHeight, Rgb{});
    for (int cell = 0; cell < kCellCount; ++cell) {
        strip.Blit(RenderCell(font, cell, size.cellWidth, size.cellHeight, size.radius, size.cornerRuns),
                   cell * size.cellWidth, 0);
    }
    return strip;
}

std::vector<std::uint8_t> EncodeStrip(const Image& strip) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(strip.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(strip.height);
    std::vector<std::uint8_t> out;
    out.reserve(kHeadersSize + imageSize + kTrailingZeros);
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeadersSize + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, kHeadersSize);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(strip.width));
    Put32(out, static_cast<std::uint32_t>(strip.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = strip.height - 1; y >= 0; --y) {
        for (int x = 0; x < strip.width; ++x) {
            const Rgb& p = strip.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(strip.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    out.insert(out.end(), kTrailingZeros, 0);
    return out;
}

}  // namespace art
