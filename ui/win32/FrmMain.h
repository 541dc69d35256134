// The installer window frmMain: a passive, branded window that only paints.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <array>
#include <string>
#include <string_view>

#include "installer/Platform.h"
#include "win32/Com.h"
#include "win32/Handles.h"

namespace quillfern::ui {

class FrmMain final : public InstallerWindow {
public:
    FrmMain() = default;
    ~FrmMain() override;
    // The window procedure reaches the object through its address.
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    void Create() override;
    void SetAddOnCaption(std::wstring_view text) override;
    void ShowModeless() override;
    WindowHandle Handle() const override;

private:
    // The labels' three fonts: title, credit line, plain.
    static constexpr std::size_t kFontCount = 3;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground() noexcept;
    void OnPaint() noexcept;
    void OnNcDestroy() noexcept;

    void Paint(HDC dc, const RECT& client) const noexcept;
    void PaintLabels(HDC dc) const noexcept;
    void PaintPicture(HDC dc) const noexcept;

    void LoadFonts(HDC screen);
    void LoadPicture();
    void LoadIcons(HINSTANCE instance);
    void RegisterWindowClass(HINSTANCE instance);

    HWND hwnd_ = nullptr;
    ATOM windowClass_ = 0;
    HINSTANCE instance_ = nullptr;
    int dpiX_ = 96;
    int dpiY_ = 96;
    std::wstring addOnCaption_;
    std::array<win32::UniqueGdiObject, kFontCount> fonts_;
    win32::ComPtr<IPicture> picture_;
    HBITMAP pictureBitmap_ = nullptr;  // owned by picture_
    SIZE pictureSize_{};
    win32::UniqueIcon bigIcon_;
    win32::UniqueIcon smallIcon_;
};

}  // namespace quillfern::ui
