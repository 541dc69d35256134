// Readers for the committed artwork: little-endian fields, bitmap strips and JPEG segments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artwork_test {

using Bytes = std::vector<std::uint8_t>;

struct Pixel {
    int r = 0, g = 0, b = 0;
    bool IsKeyGreen() const { return r == 0 && g == 255 && b == 0; }
};

Bytes ReadResource(const std::string& relativePath);
std::uint16_t Le16(const Bytes& b, std::size_t at);
std::uint32_t Le32(const Bytes& b, std::size_t at);
std::int32_t Le32Signed(const Bytes& b, std::size_t at);
std::uint16_t Be16(const Bytes& b, std::size_t at);

// A 24-bit bottom-up bitmap seen top-down.
struct Bitmap {
    Bytes file;
    int width = 0, height = 0;
    std::size_t stride = 0;
    Pixel At(int x, int y) const;
};
Bitmap LoadBitmap(const std::string& relativePath);

struct Segment {
    std::uint8_t marker = 0;
    std::size_t offset = 0;  // of the 0xFF
    Bytes body;              // after the length field
};
struct JpegFile {
    Bytes file;
    std::vector<Segment> segments;  // SOI first, EOI last; no entry for the entropy-coded data
    std::size_t entropyOffset = 0, entropySize = 0;
};
JpegFile ParseJpeg(const std::string& relativePath);

struct Decoded {
    int width = 0, height = 0, components = 0;
    std::vector<std::uint8_t> rgb;
    Pixel At(int x, int y) const;
};
Decoded DecodeJpeg(const Bytes& file);

}  // namespace artwork_test
