// frmMain in the test's own process: what Create leaves behind, how the
// handle follows the window's life, and that closing posts no quit message.
// The window is never shown here; showing it is the screenshot test's part.
#include <gtest/gtest.h>

#include "ui/win32/FrmMain.h"
#include "win32/Com.h"

namespace quillfern::ui {
namespace {

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle)); }

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return SIZE{};
    win32::UniqueGdiObject colour(info.hbmColor);
    win32::UniqueGdiObject mask(info.hbmMask);
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    return SIZE{bitmap.bmWidth, bitmap.bmHeight};
}

void PumpPending() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_QUIT) return;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
        ::DispatchMessageW(&message);
    }
}

bool QuitMessagePending() {
    MSG message;
    return ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

TEST(FrmMain, CreateLeavesTheWindowHiddenWithItsTitleAndBothIcons) {
    FrmMain window;
    EXPECT_EQ(window.Handle(), kNoWindow) << "no window before Create";
    window.Create();
    HWND hwnd = ToHwnd(window.Handle());
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(::IsWindowVisible(hwnd));

    wchar_t title[64] = {};
    ::GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, L"Tolvar Support Files");

    const SIZE big = IconSize(reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, GCLP_HICON)));
    const SIZE small = IconSize(reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, GCLP_HICONSM)));
    EXPECT_EQ(big.cx, 32);
    EXPECT_EQ(big.cy, 32);
    EXPECT_EQ(small.cx, 16);
    EXPECT_EQ(small.cy, 16);
}

TEST(FrmMain, ClosingDestroysTheWindowAndPostsNoQuitMessage) {
    FrmMain window;
    window.Create();
    window.SetAddOnCaption(L"Quillfern Card Faces Installation");
    HWND hwnd = ToHwnd(window.Handle());
    ASSERT_TRUE(::IsWindow(hwnd));

    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    PumpPending();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(window.Handle(), kNoWindow) << "a closed window must not be offered as an owner";
    EXPECT_FALSE(QuitMessagePending()) << "a quit message would end the next message box at once";
}

// The class is registered per window and removed with it, so a second
// window (one per test, or a rebuilt one) can be created in the same process.
TEST(FrmMain, EndsWithItsOwnerObjectAndCanBeCreatedAgain) {
    HWND first = nullptr;
    {
        FrmMain window;
        window.Create();
        first = ToHwnd(window.Handle());
        ASSERT_TRUE(::IsWindow(first));
    }
    EXPECT_FALSE(::IsWindow(first));
    FrmMain again;
    EXPECT_NO_THROW(again.Create());
    EXPECT_NE(again.Handle(), kNoWindow);
}

}  // namespace
}  // namespace quillfern::ui

int main(int argc, char** argv) {
    const quillfern::win32::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
