// The installer window's picture: five cards fanned from the same vector art as the strips.
#pragma once

#include "canvas.h"
#include "glyphs.h"

namespace art {

inline constexpr int kWindowPictureWidth = 151;
inline constexpr int kWindowPictureHeight = 96;

Image RenderWindowPicture(const Font& font);

}  // namespace art
