#include "tests/window/Pixels.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>

#include "ui/win32/GdiScopes.h"
#include "win32/Com.h"
#include "win32/Handles.h"

namespace quillfern::windowtest {

namespace {

using win32::UniqueGdiObject;

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32-bit DIB section selected into a memory DC, read back as an Image.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), dc_(nullptr) {
        const BITMAPINFO info = TopDown32(width, height);
        bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (bitmap_) selection_.emplace(dc_.Get(), bitmap_.Get());
    }
    bool Ok() const { return dc_ && bitmap_ && bits_; }
    HDC Dc() const { return dc_.Get(); }
    void Write(const Image& image) {
        if (!Ok() || image.Width() != width_ || image.Height() != height_) return;
        ::GdiFlush();
        std::memcpy(bits_, image.Raw().data(), image.Raw().size() * sizeof(std::uint32_t));
    }
    Image Read() const {
        Image image(width_, height_);
        if (!Ok()) return image;
        ::GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits_);
        for (std::size_t i = 0; i < image.Raw().size(); ++i) image.Raw()[i] = source[i] & 0x00FFFFFF;
        return image;
    }

private:
    int width_, height_;
    ui::UniqueMemoryDc dc_;
    UniqueGdiObject bitmap_;
    void* bits_ = nullptr;
    std::optional<ui::SelectionScope> selection_;
};

COLORREF ToColorref(Rgb c) { return RGB(c.r, c.g, c.b); }

}  // namespace

std::string ToString(const Rgb& c) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

Rgb Image::At(int x, int y) const {
    const std::uint32_t p = pixels_[std::size_t(y) * width_ + x];
    return Rgb{int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
}

void Image::Set(int x, int y, Rgb c) {
    pixels_[std::size_t(y) * width_ + x] = (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | std::uint32_t(c.b);
}

Image Image::Crop(const RECT& rect) const {
    Image out(rect.right - rect.left, rect.bottom - rect.top);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) out.Set(x, y, At(rect.left + x, rect.top + y));
    }
    return out;
}

bool Image::SaveBmp(const std::wstring& path) const {
    const int stride = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + DWORD(stride) * height_;
    std::vector<std::uint8_t> bytes(file.bfSize);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &header, sizeof header);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = bytes.data() + file.bfOffBits + std::size_t(height_ - 1 - y) * stride;
        for (int x = 0; x < width_; ++x) {
            const Rgb c = At(x, y);
            row[x * 3] = std::uint8_t(c.b);
            row[x * 3 + 1] = std::uint8_t(c.g);
            row[x * 3 + 2] = std::uint8_t(c.r);
        }
    }
    win32::UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return out && ::WriteFile(out.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

Image Capture(HDC source, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    Canvas canvas(width, height);
    if (!canvas.Ok()) return Image();
    ::BitBlt(canvas.Dc(), 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    return canvas.Read();
}

Image CaptureClient(HWND window) {
    RECT client;
    if (!::GetClientRect(window, &client)) return Image();
    ui::WindowDcScope dc(window);
    return Capture(dc.Dc(), client);
}

Image CaptureScreen(const RECT& rect) {
    ui::WindowDcScope screen(nullptr);
    return Capture(screen.Dc(), rect);
}

Image FromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info)) return Image();
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    Image image(info.bmWidth, height);
    BITMAPINFO format = TopDown32(info.bmWidth, height);
    ui::WindowDcScope screen(nullptr);
    if (::GetDIBits(screen.Dc(), bitmap, 0, height, image.Raw().data(), &format, DIB_RGB_COLORS) != height) {
        return Image();
    }
    for (auto& p : image.Raw()) p &= 0x00FFFFFF;
    return image;
}

std::optional<Image> DecodeJpeg(const std::uint8_t* bytes, std::size_t size) {
    win32::UniqueHGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return std::nullopt;
    void* target = ::GlobalLock(memory.Get());
    if (!target) return std::nullopt;
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory.Get());
    win32::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Put()))) return std::nullopt;
    memory.Release();
    win32::ComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream.Get(), LONG(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(picture.Put())))) {
        return std::nullopt;
    }
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return std::nullopt;
    return FromBitmap(reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle)));
}

LOGFONTW ArialBold(int pixelHeight, bool italic) {
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = FW_BOLD;
    font.lfItalic = italic;
    font.lfCharSet = ANSI_CHARSET;
    ::lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    return font;
}

Image RenderLabel(int width, int height, const std::wstring& text, const LOGFONTW& font, Rgb colour,
                  Rgb background) {
    Canvas canvas(width, height);
    UniqueGdiObject handle(::CreateFontIndirectW(&font));
    if (!canvas.Ok() || !handle) return Image();
    RECT box{0, 0, width, height};
    ::SetDCBrushColor(canvas.Dc(), ToColorref(background));
    ::FillRect(canvas.Dc(), &box, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ui::SelectionScope selected(canvas.Dc(), handle.Get());
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::SetTextColor(canvas.Dc(), ToColorref(colour));
    ::DrawTextW(canvas.Dc(), text.c_str(), int(text.size()), &box,
                DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    return canvas.Read();
}

Image RenderCaption(const Image& background, const std::wstring& text, const LOGFONTW& font, Rgb colour,
                    int left, int dy) {
    Canvas canvas(background.Width(), background.Height());
    UniqueGdiObject handle(::CreateFontIndirectW(&font));
    if (!canvas.Ok() || !handle) return Image();
    canvas.Write(background);
    RECT box{left, dy, background.Width(), background.Height() + dy};
    ui::SelectionScope selected(canvas.Dc(), handle.Get());
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::SetTextColor(canvas.Dc(), ToColorref(colour));
    ::DrawTextW(canvas.Dc(), text.c_str(), int(text.size()), &box,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return canvas.Read();
}

int TextWidth(const std::wstring& text, const LOGFONTW& font) {
    Canvas canvas(1, 1);
    UniqueGdiObject handle(::CreateFontIndirectW(&font));
    if (!canvas.Ok() || !handle) return 0;
    ui::SelectionScope selected(canvas.Dc(), handle.Get());
    SIZE extent{};
    if (!::GetTextExtentPoint32W(canvas.Dc(), text.c_str(), int(text.size()), &extent)) return 0;
    return extent.cx;
}

std::optional<IconPixels> LoadModuleIcon(const std::wstring& modulePath, int size) {
    win32::UniqueModule module(
        ::LoadLibraryExW(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) return std::nullopt;
    win32::UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(module.Get(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
    if (!icon) return std::nullopt;
    ICONINFO info{};
    if (!::GetIconInfo(icon.Get(), &info)) return std::nullopt;
    UniqueGdiObject colourBitmap(info.hbmColor);
    UniqueGdiObject maskBitmap(info.hbmMask);
    if (!info.hbmColor) return std::nullopt;

    IconPixels pixels{FromBitmap(info.hbmColor), {}};
    const Image mask = FromBitmap(info.hbmMask);
    if (pixels.colour.Width() != size || mask.Width() != size || mask.Height() < size) return std::nullopt;
    pixels.opaque.resize(std::size_t(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) pixels.opaque[std::size_t(y) * size + x] = mask.At(x, y) == Rgb{0, 0, 0};
    }
    return pixels;
}

}  // namespace quillfern::windowtest
