// qf_window_check <icon module> [capture folder]: finds the window titled
// "Tolvar Support Files" on the screen of this Wine session and checks what it
// shows, pixel by pixel, against the figures below (client pixels at 96 dpi).
// The suites are run one group at a time by run-window-test.sh:
//   Window, Frame, lab1  while the harness shows the window;
//   Maximised, Closed    afterwards, on the same window;
//   Installer            against QuillfernFaces.exe, from its paced wait on.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/common/WaitScale.h"
#include "tests/window/Pixels.h"
#include "win32/Com.h"

extern const std::uint8_t kWindowPicture[];
extern const std::size_t kWindowPictureSize;

namespace quillfern::windowtest {
namespace {

constexpr wchar_t kTitle[] = L"Tolvar Support Files";
constexpr int kClientWidth = 413;
constexpr int kClientHeight = 164;
constexpr Rgb kGrey{224, 224, 224};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kPurple{102, 51, 102};
constexpr Rgb kBlue{0, 0, 255};
constexpr RECT kPanel{0, 0, 230, 120};
constexpr RECT kPicture{247, 0, 398, 96};

// How long a window may take to appear or change.
DWORD FindTimeoutMs() { return quillfern::testing::ScaledMs(20000); }
constexpr DWORD kPollMs = 10;

// Label boxes: the twips figures rounded edge by edge to the nearest pixel.
struct LabelCase {
    const char* name;
    RECT box;
    const wchar_t* text;
    Rgb colour;
    Rgb background;
    int fontHeight;
    bool italic;
};

const LabelCase kLabels[] = {
    {"lab1_1_Title", {29, 7, 196, 50}, L"Tolvar", kPurple, kWhite, 37, true},
    {"lab1_0_Credit", {13, 63, 214, 84}, L"by Oswendel", kPurple, kWhite, 16, true},
    {"lab1_5_SupportLine", {14, 93, 215, 118}, L"Support File Installation ", kPurple, kWhite, 16, false},
    {"lab1_2_AddOnLine", {0, 133, 407, 158}, L"Quillfern Card Faces Installation", kBlue, kGrey, 16, false},
};
const LabelCase& kAddOnLine = kLabels[3];

void PrintTo(const LabelCase& label, std::ostream* out) { *out << label.name; }

std::wstring gIconModule;
std::wstring gCaptureFolder;

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::string Where(int x, int y) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d)", x, y);
    return text;
}

void SaveForLook(const Image& image, const char* name) {
    if (gCaptureFolder.empty()) return;
    const std::string file(name);
    image.SaveBmp(gCaptureFolder + L"\\" + std::wstring(file.begin(), file.end()) + L".bmp");
}

// Painted: the panel's corner is white and the far corner grey.
bool LooksPainted(const Image& client) {
    return client.Width() > 0 && client.At(0, 0) == kWhite &&
           client.At(client.Width() - 1, client.Height() - 1) == kGrey;
}

// The visible window and its first capture that shows it painted.
struct FirstSight {
    HWND window = nullptr;
    Image client;
};

FirstSight FindInstallerWindow() {
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND window = ::FindWindowW(nullptr, kTitle);
        if (window && ::IsWindowVisible(window)) {
            Image client = CaptureClient(window);
            if (LooksPainted(client)) return FirstSight{window, std::move(client)};
        }
        if (::GetTickCount() - start > FindTimeoutMs()) return FirstSight{};
        ::Sleep(kPollMs);
    }
}

// Antialiased text blends the label's colour into its background: every
// channel of every pixel in the box lies between the two (the blend need not
// be linear, so the channels are not tied to one coverage).
bool IsBlend(Rgb p, Rgb background, Rgb colour) {
    const auto between = [](int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); };
    return between(p.r, background.r, colour.r) && between(p.g, background.g, colour.g) &&
           between(p.b, background.b, colour.b);
}

// Everything that is neither a control nor the panel shows the window's grey,
// and the panel shows white outside its labels' boxes.
void ExpectBackgroundAndPanel(const Image& client) {
    int wrong = 0;
    for (int y = 0; y < client.Height(); ++y) {
        for (int x = 0; x < client.Width(); ++x) {
            if (Inside(kPicture, x, y)) continue;
            bool inLabel = false;
            for (const LabelCase& label : kLabels) inLabel = inLabel || Inside(label.box, x, y);
            if (inLabel) continue;
            const Rgb expected = Inside(kPanel, x, y) ? kWhite : kGrey;
            if (client.At(x, y) != expected && wrong++ < 5) {
                ADD_FAILURE() << "pixel " << Where(x, y) << " is " << ToString(client.At(x, y)) << ", expected "
                              << ToString(expected);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels off the background or panel colour";
}

void ExpectPicture(const Image& client) {
    const std::optional<Image> decoded = DecodeJpeg(kWindowPicture, kWindowPictureSize);
    ASSERT_TRUE(decoded) << "the embedded JPEG does not decode";
    ASSERT_EQ(decoded->Width(), kPicture.right - kPicture.left);
    ASSERT_EQ(decoded->Height(), kPicture.bottom - kPicture.top);
    int wrong = 0;
    for (int y = 0; y < decoded->Height(); ++y) {
        for (int x = 0; x < decoded->Width(); ++x) {
            const Rgb shown = client.At(kPicture.left + x, kPicture.top + y);
            if (shown != decoded->At(x, y) && wrong++ < 5) {
                ADD_FAILURE() << "picture pixel " << Where(x, y) << " shows " << ToString(shown) << ", decoded "
                              << ToString(decoded->At(x, y));
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "picture pixels that differ from the decoded JPEG";
}

struct Ink {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int exact = 0;   // pixels of exactly the text colour
    int foreign = 0; // pixels that are no blend of background and text colour
};

Ink MeasureInk(const Image& client, const LabelCase& label) {
    Ink ink;
    for (int y = label.box.top; y < label.box.bottom; ++y) {
        for (int x = label.box.left; x < label.box.right; ++x) {
            const Rgb p = client.At(x, y);
            if (p == label.background) continue;
            if (!IsBlend(p, label.background, label.colour)) ++ink.foreign;
            if (p == label.colour) ++ink.exact;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    return ink;
}

void ExpectLabel(const Image& client, const LabelCase& label) {
    SCOPED_TRACE(label.name);
    const Ink ink = MeasureInk(client, label);
    ASSERT_GT(ink.exact, 0) << "no pixel in the label's colour " << ToString(label.colour);
    EXPECT_EQ(ink.foreign, 0) << "pixels in the box that are neither background, text colour nor a blend";

    // Centred: the text's advance is centred, so a trailing blank moves the ink
    // left by half its width; italic glyphs lean right, which moves their ink
    // by a fraction of the slant; otherwise a pixel or two at most.
    const LOGFONTW font = ArialBold(label.fontHeight, label.italic);
    const std::wstring text(label.text);
    const int trailingBlank = text.back() == L' ' ? TextWidth(L" ", font) : 0;
    const double boxCentre = (label.box.left + label.box.right - trailingBlank) / 2.0;
    const double inkCentre = (ink.left + ink.right) / 2.0;
    const double tolerance = label.italic ? 2.0 + label.fontHeight / 8.0 : 2.0;
    EXPECT_NEAR(inkCentre, boxCentre, tolerance) << "ink spans x " << ink.left << " to " << ink.right;
    // Starts at the box's top: the first ink lies within the font's ascent gap.
    EXPECT_LE(ink.top - label.box.top, label.fontHeight / 3 + 1) << "ink starts at y " << ink.top;

    const Image expected = RenderLabel(label.box.right - label.box.left, label.box.bottom - label.box.top,
                                       label.text, font, label.colour, label.background);
    const Image shown = client.Crop(label.box);
    int differing = 0;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) differing += shown.At(x, y) != expected.At(x, y);
    }
    if (differing) {
        SaveForLook(shown, label.name);
        SaveForLook(expected, (std::string(label.name) + "_expected").c_str());
    }
    EXPECT_EQ(differing, 0) << "pixels that differ from the text rendered in bold Arial " << label.fontHeight
                            << " px" << (label.italic ? " italic" : "");
}

// Every control at its place and size, in a client area of any size.
void ExpectLayout(const Image& client) {
    ExpectBackgroundAndPanel(client);
    ExpectPicture(client);
    for (const LabelCase& label : kLabels) ExpectLabel(client, label);
}

// ---- The window the harness shows --------------------------------------------

class Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() { window_ = FindInstallerWindow().window; }
    void SetUp() override { ASSERT_TRUE(window_) << "no visible window titled \"Tolvar Support Files\""; }
    static HWND window_;
};
HWND Window::window_ = nullptr;

TEST_F(Window, HasTheClientSizeAndIsCentredOnTheScreen) {
    RECT client, frame;
    ASSERT_TRUE(::GetClientRect(window_, &client));
    ASSERT_TRUE(::GetWindowRect(window_, &frame));
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom, kClientHeight);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& screen = monitor.rcMonitor;
    // Centred to the pixel: an odd difference leaves one pixel more on one side.
    EXPECT_LE(std::abs((frame.left - screen.left) - (screen.right - frame.right)), 1);
    EXPECT_LE(std::abs((frame.top - screen.top) - (screen.bottom - frame.bottom)), 1);

    EXPECT_FALSE(::IsIconic(window_));
    EXPECT_FALSE(::IsZoomed(window_));
    EXPECT_EQ(::GetWindow(window_, GW_OWNER), nullptr);
    const LONG style = ::GetWindowLongW(window_, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW) << "a sizable frame with every caption button";
}

TEST_F(Window, ShowsBackgroundAndWhitePanel) {
    const Image client = CaptureClient(window_);
    ASSERT_EQ(client.Width(), kClientWidth);
    SaveForLook(client, "client");
    ExpectBackgroundAndPanel(client);
}

TEST_F(Window, ShowsTheDecodedPictureAtItsNaturalSize) {
    const Image client = CaptureClient(window_);
    ASSERT_EQ(client.Width(), kClientWidth);
    ExpectPicture(client);
}

class WindowLabel : public Window, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(WindowLabel, ShowsItsTextCentredInItsBoxAndColour) {
    const Image client = CaptureClient(window_);
    ASSERT_EQ(client.Width(), kClientWidth);
    ExpectLabel(client, GetParam());
}

INSTANTIATE_TEST_SUITE_P(lab1, WindowLabel, ::testing::ValuesIn(kLabels),
                         [](const ::testing::TestParamInfo<LabelCase>& info) { return info.param.name; });

// ---- The frame: Wine draws it itself for unmanaged windows -------------------

struct TitleBar {
    Image pixels;
    RECT rect;  // relative to the capture
};

std::optional<TitleBar> CaptureTitleBar(HWND window) {
    TITLEBARINFO info{};
    info.cbSize = sizeof info;
    RECT frame;
    if (!::GetTitleBarInfo(window, &info) || !::GetWindowRect(window, &frame)) return std::nullopt;
    TitleBar bar{CaptureScreen(frame), info.rcTitleBar};
    ::OffsetRect(&bar.rect, -frame.left, -frame.top);
    SaveForLook(bar.pixels, "frame");
    return bar;
}

// Where the icon's opaque pixels appear exactly, searched along the left of the title bar.
std::optional<POINT> FindIcon(const TitleBar& bar, const IconPixels& icon, int size) {
    for (int y = bar.rect.top; y + size <= bar.rect.bottom; ++y) {
        for (int x = 0; x + size <= bar.rect.left + 2 * size; ++x) {
            bool match = true;
            for (int iy = 0; match && iy < size; ++iy) {
                for (int ix = 0; match && ix < size; ++ix) {
                    if (!icon.opaque[std::size_t(iy) * size + ix]) continue;
                    match = bar.pixels.At(x + ix, y + iy) == icon.colour.At(ix, iy);
                }
            }
            if (match) return POINT{x, y};
        }
    }
    return std::nullopt;
}

void ExpectIconInTitleBar(const std::optional<TitleBar>& bar, const std::wstring& module) {
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    const std::optional<IconPixels> icon = LoadModuleIcon(module, size);
    ASSERT_TRUE(icon) << "group icon 1 does not load from the program";
    // A mostly transparent icon would be found anywhere.
    ASSERT_GT(std::count(icon->opaque.begin(), icon->opaque.end(), true), size * size / 4);
    ASSERT_TRUE(bar);
    ASSERT_GE(bar->rect.bottom - bar->rect.top, size);
    EXPECT_TRUE(FindIcon(*bar, *icon, size)) << "the " << size << " px icon is not at the left of the title bar";
}

// The title as the frame draws it: the caption font in the caption text
// colour, left-aligned and centred vertically over the bar's own colour
// (taken column by column from its top row, in case of a gradient), found at
// some offset right of the icon.
void ExpectTitleInTitleBar(const std::optional<TitleBar>& bar) {
    ASSERT_TRUE(bar);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    // The bar's reported rectangle can take in a row of the frame's edge: only
    // the rows that show the bar's colour at its left end are compared.
    Image strip = bar->pixels.Crop(bar->rect);
    int barRows = 0;
    while (barRows < strip.Height() && strip.At(0, barRows) == strip.At(0, 0)) ++barRows;
    strip = strip.Crop(RECT{0, 0, strip.Width(), barRows});
    Image background(strip.Width(), strip.Height());
    for (int y = 0; y < strip.Height(); ++y) {
        for (int x = 0; x < strip.Width(); ++x) background.Set(x, y, strip.At(x, 0));
    }
    const int textWidth = TextWidth(kTitle, metrics.lfCaptionFont);
    ASSERT_GT(textWidth, 0);
    const int searchWidth = 3 * ::GetSystemMetrics(SM_CXSMICON);
    ASSERT_LT(searchWidth + textWidth, strip.Width()) << "the title does not fit its bar";

    int closest = INT_MAX;
    for (int colourIndex : {COLOR_CAPTIONTEXT, COLOR_INACTIVECAPTIONTEXT}) {
        const COLORREF c = ::GetSysColor(colourIndex);
        const Rgb text{GetRValue(c), GetGValue(c), GetBValue(c)};
        for (int dy = -2; dy <= 2; ++dy) {
            for (int left = 0; left < searchWidth; ++left) {
                const Image expected = RenderCaption(background, kTitle, metrics.lfCaptionFont, text, left, dy);
                const Image shown = strip.Crop(RECT{left, 0, left + textWidth, strip.Height()});
                const Image drawn = expected.Crop(RECT{left, 0, left + textWidth, strip.Height()});
                int differing = 0;
                for (std::size_t i = 0; i < shown.Raw().size(); ++i) differing += shown.Raw()[i] != drawn.Raw()[i];
                if (differing == 0) return;
                closest = std::min(closest, differing);
            }
        }
    }
    SaveForLook(strip, "titlebar");
    ADD_FAILURE() << "the title bar does not show \"Tolvar Support Files\" in the caption font; the closest"
                  << " rendering differs in " << closest << " pixels";
}

class Frame : public Window {};

TEST_F(Frame, ShowsTheTitle) {
    wchar_t text[64] = {};
    ::GetWindowTextW(window_, text, 64);
    EXPECT_STREQ(text, kTitle);
    ExpectTitleInTitleBar(CaptureTitleBar(window_));
}

TEST_F(Frame, ShowsTheProgramsIcon) { ExpectIconInTitleBar(CaptureTitleBar(window_), gIconModule); }

// ---- Maximised: run after the screenshot, on the harness's window ----------

TEST(Maximised, KeepsEveryControlInPlaceWithGreyAround) {
    const FirstSight sight = FindInstallerWindow();
    ASSERT_TRUE(sight.window);
    ::ShowWindowAsync(sight.window, SW_MAXIMIZE);
    Image client;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < FindTimeoutMs()) {
        if (::IsZoomed(sight.window)) {
            client = CaptureClient(sight.window);
            if (client.Width() > kClientWidth && client.Height() > kClientHeight && LooksPainted(client)) break;
        }
        ::Sleep(kPollMs);
    }
    ASSERT_TRUE(::IsZoomed(sight.window));
    ASSERT_GT(client.Width(), kClientWidth);
    ASSERT_GT(client.Height(), kClientHeight);
    SaveForLook(client, "maximised");
    ExpectLayout(client);
}

// Closing the harness's window: the harness sees the window gone and ends.
TEST(Closed, TheWindowGoesAwayWhenThePlayerClosesIt) {
    const FirstSight sight = FindInstallerWindow();
    ASSERT_TRUE(sight.window);
    ASSERT_TRUE(::PostMessageW(sight.window, WM_CLOSE, 0, 0));
    const DWORD start = ::GetTickCount();
    while (::IsWindow(sight.window) && ::GetTickCount() - start < FindTimeoutMs()) ::Sleep(kPollMs);
    EXPECT_FALSE(::IsWindow(sight.window));
}

// ---- The real installer, started by the script in a fresh prefix ------------

HWND WaitForDialog(const wchar_t* title) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND dialog = ::FindWindowW(L"#32770", title);
        if (dialog && ::IsWindowVisible(dialog)) return dialog;
        if (::GetTickCount() - start > FindTimeoutMs()) return nullptr;
        ::Sleep(kPollMs);
    }
}

// Still open after a while: the box waits for the player rather than being
// ended by a quit message left behind by the closed window.
void ExpectWaiting(HWND dialog) {
    ::Sleep(500);
    EXPECT_TRUE(::IsWindow(dialog) && ::IsWindowVisible(dialog));
}

// During the paced wait the first painted frame already shows the add-on
// line and the whole layout, with the title and the program's icon in the
// frame. The window is then closed at once, while the wait still runs (a
// message box would make it disabled, and closing it the player's way
// impossible), and the run must go on: the default folder is missing in a
// fresh prefix, so the question comes, then the folder browser (without an
// owner, the window being gone), then the last message.
TEST(Installer, ShowsItsWindowCompleteAndGoesOnWhenItIsClosed) {
    const FirstSight sight = FindInstallerWindow();
    ASSERT_TRUE(sight.window) << "the installer showed no window titled \"Tolvar Support Files\"";
    const std::optional<TitleBar> bar = CaptureTitleBar(sight.window);
    const wchar_t* const questionTitle = L"C:\\ProgramData\\Tolvar\\graphics not found.";
    ASSERT_EQ(::FindWindowW(L"#32770", questionTitle), nullptr) << "the paced wait ended before the check";
    ASSERT_TRUE(::PostMessageW(sight.window, WM_CLOSE, 0, 0));

    SaveForLook(sight.client, "installer_first_frame");
    ExpectLabel(sight.client, kAddOnLine);
    ExpectLayout(sight.client);
    ExpectIconInTitleBar(bar, gIconModule);
    ExpectTitleInTitleBar(bar);

    HWND question = WaitForDialog(questionTitle);
    ASSERT_TRUE(question) << "no question about the default folder after the window was closed";
    EXPECT_FALSE(::IsWindow(sight.window));
    ExpectWaiting(question);
    ::PostMessageW(question, WM_COMMAND, IDOK, 0);

    HWND browser = WaitForDialog(L"Browse for Folder");
    ASSERT_TRUE(browser) << "no folder browser";
    EXPECT_EQ(::GetWindow(browser, GW_OWNER), nullptr);
    ExpectWaiting(browser);
    ::PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);

    HWND last = WaitForDialog(L"Folder not specified.");
    ASSERT_TRUE(last) << "no message after the browser was cancelled";
    ExpectWaiting(last);
    ::PostMessageW(last, WM_COMMAND, IDOK, 0);
}

}  // namespace
}  // namespace quillfern::windowtest

int main(int argc, char** argv) {
    const quillfern::win32::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    using namespace quillfern::windowtest;
    if (argc < 2) {
        std::fprintf(stderr, "usage: qf_window_check [gtest flags] <program with the icon> [capture folder]\n");
        return 2;
    }
    const std::string module(argv[1]);
    gIconModule.assign(module.begin(), module.end());
    if (argc > 2) {
        const std::string folder(argv[2]);
        gCaptureFolder.assign(folder.begin(), folder.end());
    }
    return RUN_ALL_TESTS();
}
