// Exact pixels for the window tests: captures from the screen, the decoded
// picture, icons and reference renderings of text, all as 0xRRGGBB arrays.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillfern::windowtest {

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::string ToString(const Rgb& colour);

class Image {
public:
    Image() = default;
    Image(int width, int height) : width_(width), height_(height), pixels_(std::size_t(width) * height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;
    void Set(int x, int y, Rgb colour);
    Image Crop(const RECT& rect) const;
    // Writes a 24-bit BMP, for a look at a failure.
    bool SaveBmp(const std::wstring& path) const;

    std::vector<std::uint32_t>& Raw() { return pixels_; }
    const std::vector<std::uint32_t>& Raw() const { return pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

// Copies a rectangle of a DC (a window's, or the screen's) with BitBlt.
Image Capture(HDC source, const RECT& rect);
Image CaptureClient(HWND window);
Image CaptureScreen(const RECT& rect);
// The pixels of a bitmap, whatever its format.
Image FromBitmap(HBITMAP bitmap);

// The JPEG decoded by the system's OLE picture loader.
std::optional<Image> DecodeJpeg(const std::uint8_t* bytes, std::size_t size);

// text drawn as the window's labels are (transparent, DrawText with
// DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX) into a box of the given
// size filled with background.
Image RenderLabel(int width, int height, const std::wstring& text, const LOGFONTW& font, Rgb colour,
                  Rgb background);

// text drawn as a title bar's caption: over a copy of background,
// DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX from column left, moved down by dy.
Image RenderCaption(const Image& background, const std::wstring& text, const LOGFONTW& font, Rgb colour,
                    int left, int dy);

// The advance width of text in font.
int TextWidth(const std::wstring& text, const LOGFONTW& font);

// A bold "Arial" of the given pixel height, charset ANSI.
LOGFONTW ArialBold(int pixelHeight, bool italic);

struct IconPixels {
    Image colour;
    std::vector<bool> opaque;  // by pixel, from the mask
};
// Group icon 1 of a module file, loaded at the given size.
std::optional<IconPixels> LoadModuleIcon(const std::wstring& modulePath, int size);

}  // namespace quillfern::windowtest
