// The folder services over the real shell, the scripting object and the browser.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <thread>

#include "TestFolder.h"
#include "services/FolderServices.h"
#include "services/win32/WinServices.h"
#include "win32/AnsiCodePage.h"

namespace quillfern::testing {
namespace {

using namespace std::chrono_literals;

class FolderServicesWin : public ::testing::Test {
protected:
    win32::WinShell shell;
    win32::SystemAnsiCodePage codePage;
    win32::ScriptingFolderQuery query;
};

TEST_F(FolderServicesWin, CommonAppDataIsAnExistingFolderWithNothingAfterIt) {
    const std::wstring path = APIs::GetSpecialFolderPath(CSIDL_COMMON_APPDATA, shell, codePage);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.find(L'\0'), std::wstring::npos);
    EXPECT_EQ(path[1], L':');
    EXPECT_TRUE(APIs::IsFolder(path, query));
}

TEST_F(FolderServicesWin, UnknownAndVirtualFoldersGiveEmptyText) {
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x7777, shell, codePage), L"");
    EXPECT_EQ(APIs::GetSpecialFolderPath(CSIDL_DRIVES, shell, codePage), L"");  // "My Computer"
}

TEST_F(FolderServicesWin, FileIsNotAFolder) {
    TestFolder folder;
    const std::wstring file = folder.File(L"Quillfern.fac");
    WriteBytes(file, "x");
    EXPECT_TRUE(APIs::IsFolder(folder.Path(), query));
    EXPECT_FALSE(APIs::IsFolder(file, query));
    EXPECT_FALSE(APIs::IsFolder(folder.Path() + L"\\missing", query));
}

TEST_F(FolderServicesWin, DoubledSeparatorIsRefusedEvenWhereTheFolderExists) {
    TestFolder folder;
    const std::wstring path = folder.Path();
    const std::size_t last = path.rfind(L'\\');
    const std::wstring doubled = path.substr(0, last) + L"\\" + path.substr(last);
    EXPECT_FALSE(APIs::IsFolder(doubled, query));
}

TEST_F(FolderServicesWin, UncPathReachesTheFileSystem) {
    // No such server: FolderExists answers false at once instead of the rule refusing it.
    EXPECT_FALSE(APIs::IsFolder(L"\\\\qf-no-such-server\\share", query));
}

// Operates the browser from a second thread, the way a player would.
class BrowserOperator {
public:
    // choice empty: press Cancel; otherwise select that folder and press OK.
    explicit BrowserOperator(std::wstring choice)
        : choice_(std::move(choice)), thread_([this] { Operate(); }) {}
    ~BrowserOperator() { thread_.join(); }
    bool Found() const { return found_; }

private:
    void Operate() {
        for (int attempt = 0; attempt < 200 && !found_; ++attempt) {
            std::this_thread::sleep_for(50ms);
            HWND browser = ::FindWindowW(L"#32770", L"Browse for Folder");
            if (!browser) continue;
            DWORD process = 0;
            ::GetWindowThreadProcessId(browser, &process);
            if (process != ::GetCurrentProcessId()) continue;
            found_ = true;
            std::this_thread::sleep_for(200ms);  // let the tree fill
            if (choice_.empty()) {
                ::PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
            } else {
                ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(choice_.c_str()));
                ::PostMessageW(browser, WM_COMMAND, IDOK, 0);
            }
        }
    }
    std::wstring choice_;
    std::atomic<bool> found_{false};
    std::thread thread_;
};

TEST_F(FolderServicesWin, CancelledBrowserGivesEmptyText) {
    std::wstring chosen;
    {
        BrowserOperator player(L"");
        chosen = APIs::BrowseForFolder(kNoWindow, shell, codePage);
        EXPECT_TRUE(player.Found());
    }
    EXPECT_EQ(chosen, L"");
}

TEST_F(FolderServicesWin, ChosenFolderComesBackAsTheShellWritesIt) {
    TestFolder folder;
    std::wstring chosen;
    {
        BrowserOperator player(folder.Path());
        chosen = APIs::BrowseForFolder(kNoWindow, shell, codePage);
        EXPECT_TRUE(player.Found());
    }
    EXPECT_EQ(::CompareStringOrdinal(chosen.c_str(), -1, folder.Path().c_str(), -1, TRUE), CSTR_EQUAL)
        << "chosen: " << std::string(chosen.begin(), chosen.end());
}

TEST_F(FolderServicesWin, DriveRootKeepsItsSeparator) {
    std::wstring chosen;
    {
        BrowserOperator player(L"C:\\");
        chosen = APIs::BrowseForFolder(kNoWindow, shell, codePage);
        EXPECT_TRUE(player.Found());
    }
    EXPECT_EQ(chosen, L"C:\\");
    EXPECT_TRUE(APIs::IsFolder(chosen, query));
}

}  // namespace
}  // namespace quillfern::testing
