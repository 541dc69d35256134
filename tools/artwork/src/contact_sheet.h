// One picture of the whole set for the documentation: every face at every size, preview, window picture, icon.
#pragma once

#include "canvas.h"
#include "glyphs.h"
#include "icon.h"

#include <vector>

namespace art {

Image RenderContactSheet(const Font& font, const std::vector<Image>& strips, const std::vector<int>& cellWidths,
                         const Image& preview, const Image& windowPicture, const Icon& icon);

}  // namespace art
