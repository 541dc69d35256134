// Scoped GDI state for painting: a paint pass, a memory DC and an object
// selected into a DC, each undone in reverse order on every road out.
#pragma once

#include <windows.h>

#include <utility>

namespace quillfern::ui {

// BeginPaint/EndPaint as one object; bound to its window, so not movable.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// GetDC/ReleaseDC of a window, or of the screen for a null window.
class WindowDcScope {
public:
    explicit WindowDcScope(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDcScope() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDcScope(const WindowDcScope&) = delete;
    WindowDcScope& operator=(const WindowDcScope&) = delete;

    HDC Dc() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A DC made by CreateCompatibleDC, released with DeleteDC.
class UniqueMemoryDc {
public:
    explicit UniqueMemoryDc(HDC compatibleWith) noexcept : dc_(::CreateCompatibleDC(compatibleWith)) {}
    ~UniqueMemoryDc() {
        if (dc_) ::DeleteDC(dc_);
    }
    UniqueMemoryDc(UniqueMemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueMemoryDc& operator=(UniqueMemoryDc&& other) noexcept {
        if (this != &other) {
            if (dc_) ::DeleteDC(dc_);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    UniqueMemoryDc(const UniqueMemoryDc&) = delete;
    UniqueMemoryDc& operator=(const UniqueMemoryDc&) = delete;

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back, so the object
// can be deleted afterwards (a selected object cannot).
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectionScope() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quillfern::ui
