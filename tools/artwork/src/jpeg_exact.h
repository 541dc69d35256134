// Baseline JPEG with a chosen total size, reached by searching quantisation tables, never by padding.
#pragma once

#include "canvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct JpegRequest {
    int densityDpi = 96;
    std::vector<std::uint8_t> app1Payload;  // written between the Huffman tables and SOS when not empty
    std::size_t totalSize = 0;
};

struct JpegResult {
    std::vector<std::uint8_t> bytes;
    int scale = 0;       // percentage applied to the reference tables
    int tweaks = 0;      // single-step table changes after the scale search
    int encodes = 0;
};

JpegResult EncodeExactJpeg(const Image& image, const JpegRequest& request);

}  // namespace art
