#include "ui/win32/FrmMain.h"

#include <cstdint>
#include <cstring>

#include "common/Failure.h"
#include "ui/win32/GdiScopes.h"

extern const std::uint8_t kWindowPicture[];
extern const std::size_t kWindowPictureSize;

namespace quillfern::ui {

namespace {

constexpr wchar_t kWindowClassName[] = L"QuillfernFrmMain";
constexpr wchar_t kWindowTitle[] = L"Tolvar Support Files";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kWindowExStyle = 0;
constexpr WORD kIconGroupId = 1;

constexpr COLORREF kBackgroundColour = RGB(224, 224, 224);
constexpr COLORREF kPanelColour = RGB(255, 255, 255);
constexpr COLORREF kLabelColour = RGB(102, 51, 102);
constexpr COLORREF kAddOnColour = RGB(0, 0, 255);

// Every place and size below is in twips, 1/1440 inch.
struct TwipsBox {
    int left, top, width, height;
};

constexpr TwipsBox kClientArea{0, 0, 6195, 2460};
constexpr TwipsBox Frame2{0, 0, 3450, 1800};
constexpr int kImage1Left = 3705;
constexpr int kImage1Top = 0;

// Twips to pixels: MulDiv(twips, dpi, 1440), which rounds to the nearest pixel
// (halves away from zero). Boxes convert their edges, not their sizes, so
// neighbouring boxes meet exactly; at 96 dpi 15 twips make one pixel, and
// e.g. lab1(1)'s top at 100 twips (6.67 px) lands on 7.
int TwipsToPixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

RECT ToPixels(const TwipsBox& box, int dpiX, int dpiY) {
    return RECT{TwipsToPixels(box.left, dpiX), TwipsToPixels(box.top, dpiY),
                TwipsToPixels(box.left + box.width, dpiX), TwipsToPixels(box.top + box.height, dpiY)};
}

struct FontSpec {
    int heightTwips;  // character height: 27.75 pt = 555 twips (37 px), 12 pt = 240 twips (16 px)
    bool italic;
};

enum FontIndex : std::size_t { kTitleFont, kCreditFont, kPlainFont };
constexpr std::array<FontSpec, 3> kFonts{{{555, true}, {240, true}, {240, false}}};
constexpr int kFontWeight = FW_BOLD;  // 700

// The face the labels ask for, then faces with the same metrics for a system
// without it; if none is installed the font mapper picks the nearest.
constexpr std::array<const wchar_t*, 3> kFontFaces{L"Arial", L"Liberation Sans", L"Arimo"};

enum class Container { frmMain, Frame2 };

struct Lab1Member {
    int index;
    Container container;
    TwipsBox box;  // relative to the container
    COLORREF colour;
    FontIndex font;
    std::wstring_view caption;
};

constexpr int kAddOnLabel = 2;

// The label family lab1; indices 3 and 4 do not exist. lab1(2) shows the
// caption the sequence sets, and nothing until then.
constexpr std::array<Lab1Member, 4> lab1{{
    {1, Container::Frame2, {435, 100, 2505, 650}, kLabelColour, kTitleFont, L"Tolvar"},
    {0, Container::Frame2, {195, 950, 3015, 315}, kLabelColour, kCreditFont, L"by Oswendel"},
    {5, Container::Frame2, {210, 1400, 3015, 375}, kLabelColour, kPlainFont, L"Support File Installation "},
    {kAddOnLabel, Container::frmMain, {0, 2000, 6100, 375}, kAddOnColour, kPlainFont, L""},
}};

constexpr const Lab1Member& kAddOnLine = lab1[3];
static_assert(kAddOnLine.index == kAddOnLabel);

TwipsBox InWindow(const Lab1Member& label) {
    if (label.container == Container::frmMain) return label.box;
    return TwipsBox{Frame2.left + label.box.left, Frame2.top + label.box.top, label.box.width,
                    label.box.height};
}

constexpr UINT kLabelFormat = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    ::SetDCBrushColor(dc, colour);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

int CALLBACK NoteFamilyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFamilyInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = ANSI_CHARSET;
    ::lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(dc, &query, NoteFamilyFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

const wchar_t* LabelFace(HDC dc) {
    for (const wchar_t* face : kFontFaces) {
        if (FontFamilyInstalled(dc, face)) return face;
    }
    return kFontFaces.front();
}

win32::UniqueIcon LoadGroupIcon(HINSTANCE instance, int size) {
    win32::UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(kIconGroupId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon) throw Failure(L"The window's icon could not be loaded.");
    return icon;
}

}  // namespace

FrmMain::~FrmMain() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    if (windowClass_) ::UnregisterClassW(MAKEINTATOM(windowClass_), instance_);
}

void FrmMain::Create() {
    instance_ = ::GetModuleHandleW(nullptr);
    {
        WindowDcScope screen(nullptr);
        dpiX_ = ::GetDeviceCaps(screen.Dc(), LOGPIXELSX);
        dpiY_ = ::GetDeviceCaps(screen.Dc(), LOGPIXELSY);
        LoadFonts(screen.Dc());
    }
    LoadPicture();
    LoadIcons(instance_);
    RegisterWindowClass(instance_);

    RECT outer = ToPixels(kClientArea, dpiX_, dpiY_);
    if (!::AdjustWindowRectEx(&outer, kWindowStyle, FALSE, kWindowExStyle)) {
        throw Failure(L"The installer window's frame could not be measured.");
    }
    // No WS_VISIBLE: the window stays hidden until ShowModeless.
    HWND hwnd = ::CreateWindowExW(kWindowExStyle, MAKEINTATOM(windowClass_), kWindowTitle, kWindowStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance_, this);
    if (!hwnd) throw Failure(L"The installer window could not be created.");
}

void FrmMain::SetAddOnCaption(std::wstring_view text) {
    addOnCaption_ = text;
    if (!hwnd_) return;
    const RECT box = ToPixels(InWindow(kAddOnLine), dpiX_, dpiY_);
    ::InvalidateRect(hwnd_, &box, FALSE);
}

void FrmMain::ShowModeless() {
    if (!hwnd_) throw Failure(L"The installer window does not exist.");
    RECT frame;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetWindowRect(hwnd_, &frame) ||
        !::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        throw Failure(L"The installer window could not be placed.");
    }
    // No owner, so centred on the screen: the whole monitor, frame included.
    const RECT& screen = monitor.rcMonitor;
    const int x = screen.left + ((screen.right - screen.left) - (frame.right - frame.left)) / 2;
    const int y = screen.top + ((screen.bottom - screen.top) - (frame.bottom - frame.top)) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    // Paints now, so the first frame on screen is complete even before any wait pumps.
    ::UpdateWindow(hwnd_);
}

WindowHandle FrmMain::Handle() const {
    static_assert(sizeof(HWND) == sizeof(WindowHandle), "a 32-bit program's window handle");
    return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(hwnd_));
}

void FrmMain::LoadFonts(HDC screen) {
    const wchar_t* face = LabelFace(screen);
    for (std::size_t i = 0; i < kFontCount; ++i) {
        LOGFONTW font{};
        font.lfHeight = -TwipsToPixels(kFonts[i].heightTwips, dpiY_);
        font.lfWeight = kFontWeight;
        font.lfItalic = kFonts[i].italic;
        font.lfCharSet = ANSI_CHARSET;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = DEFAULT_QUALITY;
        font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
        ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
        fonts_[i].Reset(::CreateFontIndirectW(&font));
        if (!fonts_[i]) throw Failure(L"The installer window's fonts could not be made.");
    }
}

void FrmMain::LoadPicture() {
    win32::UniqueHGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, kWindowPictureSize));
    if (!memory) throw Failure(L"No memory for the installer window's picture.");
    void* bytes = ::GlobalLock(memory.Get());
    if (!bytes) throw Failure(L"No memory for the installer window's picture.");
    std::memcpy(bytes, kWindowPicture, kWindowPictureSize);
    ::GlobalUnlock(memory.Get());

    win32::ComPtr<IStream> stream;
    win32::ThrowIfFailed(::CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Put()), L"CreateStreamOnHGlobal");
    memory.Release();  // the stream frees it now
    win32::ThrowIfFailed(::OleLoadPicture(stream.Get(), static_cast<LONG>(kWindowPictureSize), FALSE,
                                          IID_IPicture, reinterpret_cast<void**>(picture_.Put())),
                         L"OleLoadPicture");

    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    win32::ThrowIfFailed(picture_->get_Type(&type), L"IPicture::get_Type");
    if (type != PICTYPE_BITMAP) throw Failure(L"The installer window's picture is not a bitmap.");
    win32::ThrowIfFailed(picture_->get_Handle(&handle), L"IPicture::get_Handle");
    pictureBitmap_ = reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle));

    BITMAP info{};
    if (!::GetObjectW(pictureBitmap_, sizeof info, &info)) {
        throw Failure(L"The installer window's picture could not be measured.");
    }
    pictureSize_ = SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void FrmMain::LoadIcons(HINSTANCE instance) {
    bigIcon_ = LoadGroupIcon(instance, ::GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadGroupIcon(instance, ::GetSystemMetrics(SM_CXSMICON));
}

void FrmMain::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = bigIcon_.Get();
    windowClass.hIconSm = smallIcon_.Get();
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;  // WM_PAINT fills every pixel
    windowClass.lpszClassName = kWindowClassName;
    windowClass_ = ::RegisterClassExW(&windowClass);
    if (!windowClass_) throw Failure(L"The installer window's class could not be registered.");
}

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FrmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    // Only painting and bookkeeping; WM_CLOSE stays with DefWindowProc, which
    // destroys the window and posts nothing, so the sequence simply goes on.
    switch (message) {
        case WM_ERASEBKGND: return self->OnEraseBackground();
        case WM_PAINT: self->OnPaint(); return 0;
        case WM_NCDESTROY: self->OnNcDestroy(); break;
        default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT FrmMain::OnEraseBackground() noexcept {
    return 1;  // WM_PAINT paints the background with everything else, off screen
}

void FrmMain::OnPaint() noexcept {
    PaintScope paint(hwnd_);
    RECT client;
    if (!paint.Dc() || !::GetClientRect(hwnd_, &client) || client.right <= 0 || client.bottom <= 0) return;

    // Painted off screen and copied in one piece, so no half-drawn frame shows.
    UniqueMemoryDc buffer(paint.Dc());
    win32::UniqueGdiObject bitmap(::CreateCompatibleBitmap(paint.Dc(), client.right, client.bottom));
    if (!buffer || !bitmap) {
        Paint(paint.Dc(), client);
        return;
    }
    SelectionScope selected(buffer.Get(), bitmap.Get());
    Paint(buffer.Get(), client);
    ::BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
}

void FrmMain::OnNcDestroy() noexcept {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

void FrmMain::Paint(HDC dc, const RECT& client) const noexcept {
    // Grey everywhere, so a larger (say maximised) window shows grey around the controls.
    FillSolid(dc, client, kBackgroundColour);
    FillSolid(dc, ToPixels(Frame2, dpiX_, dpiY_), kPanelColour);
    PaintLabels(dc);
    PaintPicture(dc);
}

void FrmMain::PaintLabels(HDC dc) const noexcept {
    ::SetBkMode(dc, TRANSPARENT);
    for (const Lab1Member& label : lab1) {
        const std::wstring_view caption = label.index == kAddOnLabel ? addOnCaption_ : label.caption;
        if (caption.empty()) continue;
        RECT box = ToPixels(InWindow(label), dpiX_, dpiY_);
        SelectionScope font(dc, fonts_[label.font].Get());
        ::SetTextColor(dc, label.colour);
        ::DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &box, kLabelFormat);
    }
}

void FrmMain::PaintPicture(HDC dc) const noexcept {
    // Image1: the decoded picture at its natural size, one picture pixel per screen pixel.
    UniqueMemoryDc source(dc);
    if (!source) return;
    SelectionScope picture(source.Get(), pictureBitmap_);
    ::BitBlt(dc, TwipsToPixels(kImage1Left, dpiX_), TwipsToPixels(kImage1Top, dpiY_), pictureSize_.cx,
             pictureSize_.cy, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace quillfern::ui
