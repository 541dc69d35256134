// The 32 x 32 suit-cross icon: the RT_ICON image and its one-entry RT_GROUP_ICON directory.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

namespace art {

inline constexpr int kIconSize = 32;
inline constexpr int kIconTransparent = 470;
inline constexpr std::uint16_t kIconImageId = 30001;

struct Icon {
    Image colour;                // composited colours, black where transparent
    std::vector<bool> opaque;    // row-major, top-down
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> group;
    double scale = 0;
};

Icon MakeIcon();

}  // namespace art
