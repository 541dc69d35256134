// One picture of the whole set for the documentation: every face at every size, preview, window picture, icon.
#pragma once

#include "canvas.h"
#include "glyphs.h"
#include "icon.h"

#include <string>
#include <vector>

namespace art {

struct SheetEntry {
    std::string name;
    const Image* image;
};

// `strips` come with their cell widths; names label each picture.
Image RenderContactSheet(const Font& font, const std::vector<SheetEntry>& strips, const std::vector<int>& cellWidths,
                         const SheetEntry& preview, const SheetEntry& windowPicture, const Icon& icon);

}  // namespace art
