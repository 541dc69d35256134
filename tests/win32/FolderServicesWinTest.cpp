// The folder services over the real shell, the scripting object and the browser.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestFolder.h"
#include "tests/common/WaitScale.h"
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
    bool Selected() const { return selected_; }

private:
    static constexpr int kTreeId = 0x3741;

    HWND FindBrowser() const {
        HWND browser = ::FindWindowW(L"#32770", L"Browse for Folder");
        DWORD process = 0;
        if (browser) ::GetWindowThreadProcessId(browser, &process);
        return process == ::GetCurrentProcessId() ? browser : nullptr;
    }

    // The tree's label for the chosen folder: " (C:)" for a drive root, else its name.
    bool SelectionIsTheChoice(HWND browser) const {
        HWND tree = ::GetDlgItem(browser, kTreeId);
        const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (!item) return false;
        wchar_t text[MAX_PATH] = {};
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = MAX_PATH;
        if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return false;
        const std::wstring label = text;
        const bool root = choice_.size() == 3 && choice_[1] == L':';
        const std::wstring expected =
            root ? L"(" + choice_.substr(0, 2) + L")" : choice_.substr(choice_.rfind(L'\\') + 1);
        return root ? label.find(expected) != std::wstring::npos
                    : ::CompareStringOrdinal(label.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL;
    }

    void Operate() {
        HWND browser = nullptr;
        const auto giveUp = std::chrono::steady_clock::now() + ScaledMs(10000) * 1ms;
        while (!browser && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(50ms);
            browser = FindBrowser();
        }
        if (!browser) return;
        found_ = true;
        if (choice_.empty()) {
            ::PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        // OK with nothing selected would return the Desktop: select until the
        // tree shows it, asking again now and then (a request made before the
        // tree is filled is dropped), and cancel if it never does.
        const auto deadline = std::chrono::steady_clock::now() + ScaledMs(20000) * 1ms;
        auto nextRequest = std::chrono::steady_clock::now();
        while (!selected_ && std::chrono::steady_clock::now() < deadline) {
            if (std::chrono::steady_clock::now() >= nextRequest) {
                ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(choice_.c_str()));
                nextRequest = std::chrono::steady_clock::now() + ScaledMs(2000) * 1ms;
            }
            selected_ = SelectionIsTheChoice(browser);
            if (!selected_) std::this_thread::sleep_for(100ms);
        }
        ::PostMessageW(browser, WM_COMMAND, selected_ ? IDOK : IDCANCEL, 0);
    }

    std::wstring choice_;
    std::atomic<bool> found_{false};
    std::atomic<bool> selected_{false};
    std::thread thread_;
};

class Browser : public FolderServicesWin {
protected:
    // Opens the browser and lets a player cancel it (empty choice) or pick the choice.
    std::wstring BrowseAndChoose(const std::wstring& choice, bool* lookAlike = nullptr) {
        BrowserOperator player(choice);
        std::wstring chosen = APIs::BrowseForFolder(kNoWindow, shell, codePage, lookAlike);
        EXPECT_TRUE(player.Found()) << "the browser never appeared";
        if (!choice.empty()) {
            EXPECT_TRUE(player.Selected()) << "the browser never showed the choice selected";
        }
        return chosen;
    }
};

TEST_F(Browser, CancelGivesEmptyText) { EXPECT_EQ(BrowseAndChoose(L""), L""); }

TEST_F(Browser, ChosenFolderComesBackAsTheShellWritesIt) {
    TestFolder folder;
    const std::wstring chosen = BrowseAndChoose(folder.Path());
    EXPECT_EQ(::CompareStringOrdinal(chosen.c_str(), -1, folder.Path().c_str(), -1, TRUE), CSTR_EQUAL)
        << "chosen: " << std::string(chosen.begin(), chosen.end());
}

TEST_F(Browser, DriveRootKeepsItsSeparator) {
    const std::wstring chosen = BrowseAndChoose(L"C:\\");
    EXPECT_EQ(chosen, L"C:\\");
    EXPECT_TRUE(APIs::IsFolder(chosen, query));
}

// A sub-folder of a test folder, removed before the test folder is.
class SubFolder {
public:
    SubFolder(const TestFolder& parent, const wchar_t* name) : path_(parent.File(name)) {
        EXPECT_TRUE(::CreateDirectoryW(path_.c_str(), nullptr)) << "cannot create a sub-folder";
    }
    ~SubFolder() { ::RemoveDirectoryW(path_.c_str()); }
    SubFolder(const SubFolder&) = delete;
    SubFolder& operator=(const SubFolder&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// The real shell converts the path of a folder named outside the code page,
// and the check against its wide path catches that whatever the conversion.
TEST_F(Browser, FolderNamedOutsideTheCodePageIsALookAlike) {
    if (::GetACP() == CP_UTF8) GTEST_SKIP() << "a UTF-8 code page holds every name";
    TestFolder folder;
    const SubFolder plain(folder, L"Tolvar Omega");
    const SubFolder omega(folder, L"Tolvar \u03A9mega");
    bool lookAlike = false;
    const std::wstring chosen = BrowseAndChoose(omega.Path(), &lookAlike);
    EXPECT_TRUE(lookAlike);
    EXPECT_NE(chosen, omega.Path());
    EXPECT_FALSE(chosen.empty());
    lookAlike = true;
    BrowseAndChoose(plain.Path(), &lookAlike);
    EXPECT_FALSE(lookAlike);
}

TEST(AnsiCodePage, NeverBestFitsACharacterItLacks) {
    if (::GetACP() == CP_UTF8) GTEST_SKIP() << "a UTF-8 code page lacks no character";
    win32::SystemAnsiCodePage codePage;
    // Best fit would make these O, a separator and a separator.
    for (const wchar_t* text : {L"\u03A9", L"\uFF3C", L"\u2216"}) {
        const std::string ansi = codePage.ToAnsi(text);
        EXPECT_NE(ansi, "O");
        EXPECT_EQ(ansi.find('\\'), std::string::npos) << "U+" << std::hex << static_cast<int>(text[0]);
    }
}

}  // namespace
}  // namespace quillfern::testing
