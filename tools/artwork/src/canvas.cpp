// Cairo surfaces and file output shared by the writers.
#include "canvas.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace art {

void Image::Blit(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            int tx = dx + x, ty = dy + y;
            if (tx < 0 || ty < 0 || tx >= width || ty >= height) continue;
            At(tx, ty) = src.At(x, y);
        }
    }
}

Image Image::Crop(int x0, int y0, int w, int h) const {
    Image out(w, h, Rgb{});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.At(x, y) = At(x0 + x, y0 + y);
    return out;
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {
    if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo surface failed");
    cr_.reset(cairo_create(surface_.get()));
    if (cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo context failed");
}

Image Canvas::Take() const {
    cairo_surface_flush(surface_.get());
    Image out(width_, height_, Rgb{});
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    int stride = cairo_image_surface_get_stride(surface_.get());
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            std::uint32_t p;
            std::memcpy(&p, data + y * stride + x * 4, 4);
            out.At(x, y) = Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                               static_cast<std::uint8_t>(p)};
        }
    }
    return out;
}

void Canvas::Put(const Image& image, int dx, int dy) {
    cairo_surface_flush(surface_.get());
    unsigned char* data = cairo_image_surface_get_data(surface_.get());
    int stride = cairo_image_surface_get_stride(surface_.get());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int tx = dx + x, ty = dy + y;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            Rgb c = image.At(x, y);
            std::uint32_t p = 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
            std::memcpy(data + ty * stride + tx * 4, &p, 4);
        }
    }
    cairo_surface_mark_dirty(surface_.get());
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) throw std::runtime_error("cannot open " + path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) throw std::runtime_error("cannot write " + path);
}

void WritePng(const std::string& path, const Image& image) {
    Canvas canvas(image.width, image.height);
    canvas.Put(image, 0, 0);
    if (cairo_surface_write_to_png(canvas.Surface(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace art
