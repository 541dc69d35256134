// Owners for cairo objects and a plain RGB image type shared by every output writer.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace art {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using UniqueSurface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using UniqueContext = std::unique_ptr<cairo_t, ContextDeleter>;
using UniquePattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Top-down, tightly packed RGB pixels.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void Blit(const Image& src, int dx, int dy);
    Image Crop(int x, int y, int w, int h) const;
};

// An RGB24 cairo surface with its context; Take() copies the pixels out.
class Canvas {
public:
    Canvas(int width, int height);
    cairo_t* Cr() const { return cr_.get(); }
    cairo_surface_t* Surface() const { return surface_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Image Take() const;
    void Put(const Image& image, int dx, int dy);

private:
    int width_;
    int height_;
    UniqueSurface surface_;
    UniqueContext cr_;
};

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WritePng(const std::string& path, const Image& image);

}  // namespace art
