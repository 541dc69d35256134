// Card strips as 24-bit bottom-up bitmaps followed by the two zero bytes the game's files carry.
#pragma once

#include "canvas.h"
#include "glyphs.h"

#include <cstdint>
#include <vector>

namespace art {

struct StripSize {
    int cellWidth;
    int cellHeight;
    double radius;
    std::vector<int> cornerRuns;
};

// The four sizes of the set, smallest first.
const std::vector<StripSize>& StripSizes();

Image RenderStrip(const Font& font, const StripSize& size);
std::vector<std::uint8_t> EncodeStrip(const Image& strip);

}  // namespace art
