// qf_driver: plays the user's part against the installer from inside the same
// Wine session. It finds windows by class and title, reads message boxes word
// for word, presses their buttons and operates the shell's folder browser.
// Every wait is bounded; a timeout names what was awaited and what was on screen.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/common/WaitScale.h"
#include "win32/Handles.h"

namespace {

using quillfern::win32::UniqueFile;
using quillfern::win32::UniqueHandle;

// The system's own dialog class and the control ids of its message box and
// folder browser templates.
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kBoxPromptId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;
constexpr int kBrowserPromptId = 0x3742;
constexpr int kBrowserTreeId = 0x3741;
constexpr DWORD kDefaultTimeoutMs = 20000;
constexpr DWORD kPollMs = 20;
constexpr DWORD kRetryMs = 100;
// How often the browser is asked again to select a folder: each request makes
// it expand the tree down to that folder, which can take seconds under
// emulation, and requests sent faster than it can serve pile up in its queue.
constexpr DWORD kReselectMs = 2000;

// A send to another process gives up after this long, stretched under emulation.
UINT CrossProcessSendMs() { return quillfern::testing::ScaledMs(5000); }

enum ExitCode : int { kOk = 0, kUsage = 1, kUnexpected = 2, kTimedOut = 3 };

// ---- Output ----------------------------------------------------------------

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

// Control characters are escaped so that a prompt's CR LF is compared exactly.
std::string Escaped(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'\\': out += L"\\\\"; break;
            case L'\r': out += L"\\r"; break;
            case L'\n': out += L"\\n"; break;
            case L'\t': out += L"\\t"; break;
            default:
                if (c < 0x20) {
                    wchar_t hex[8];
                    std::swprintf(hex, 8, L"\\x%02x", static_cast<unsigned>(c));
                    out += hex;
                } else {
                    out += c;
                }
        }
    }
    return Utf8(out);
}

void WriteRaw(DWORD stream, const std::string& text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(stream), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// One "key=value" line on stdout; the runner compares these with its table.
void Field(std::string_view key, std::wstring_view value) {
    WriteRaw(STD_OUTPUT_HANDLE, std::string(key) + "=" + Escaped(value) + "\n");
}

void Complain(const std::wstring& text) { WriteRaw(STD_ERROR_HANDLE, "qf_driver: " + Utf8(text) + "\n"); }

// ---- Windows ---------------------------------------------------------------

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

// WM_GETTEXT is marshalled across processes; GetWindowText is not, for controls.
std::wstring TextOf(HWND window) {
    if (!window) return {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, CrossProcessSendMs(),
                               &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, CrossProcessSendMs(), &copied);
    text.resize(copied);
    return text;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM out) {
    if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleTopLevelWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring DescribeScreen() {
    std::wstring text;
    for (HWND window : VisibleTopLevelWindows()) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (!text.empty()) text += L", ";
        text += ClassOf(window) + L" \"" + TextOf(window) + L"\" (pid " + std::to_wstring(pid) + L")";
    }
    return text.empty() ? L"no visible top-level window" : L"visible: " + text;
}

bool IsFolderBrowser(HWND window) {
    return ClassOf(window) == kDialogClass && ::GetDlgItem(window, kBrowserTreeId);
}

bool IsMessageBox(HWND window) {
    return ClassOf(window) == kDialogClass && ::GetDlgItem(window, kBoxPromptId) && !IsFolderBrowser(window);
}

template <typename Predicate>
HWND WaitForWindow(DWORD timeoutMs, Predicate matches) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    do {
        for (HWND window : VisibleTopLevelWindows()) {
            if (matches(window)) return window;
        }
        ::Sleep(kPollMs);
    } while (::GetTickCount64() < deadline);
    return nullptr;
}

// True once the window is destroyed or hidden.
bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::IsWindow(window) && ::IsWindowVisible(window)) {
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

HWND FindVisibleByTitle(std::wstring_view title) {
    for (HWND window : VisibleTopLevelWindows()) {
        if (TextOf(window) == title) return window;
    }
    return nullptr;
}

int TimedOut(DWORD timeoutMs, const std::wstring& what) {
    Complain(L"timed out after " + std::to_wstring(timeoutMs) + L" ms waiting for " + what + L"; " +
             DescribeScreen());
    return kTimedOut;
}

bool IsShownControl(HWND control) { return control && ::IsWindowVisible(control); }

// ---- Memory in the target process --------------------------------------------

// Messages such as BFFM_SETSELECTIONA and TVM_GETITEMW carry pointers that the
// receiving process dereferences, so their data must live in its address space.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process),
          address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    std::byte* At(SIZE_T offset) const { return static_cast<std::byte*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return ::WriteProcessMemory(process_, At(offset), data, size, &done) && done == size;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        SIZE_T done = 0;
        return ::ReadProcessMemory(process_, At(offset), data, size, &done) && done == size;
    }

private:
    HANDLE process_;
    void* address_;
};

UniqueHandle OpenOwningProcess(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return UniqueHandle(::OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid));
}

// The browser's remote buffer holds two things that must not overlap: the
// ANSI path that each retried BFFM_SETSELECTIONA sends, and the tree query.
constexpr SIZE_T kRemotePathOffset = 0;
constexpr SIZE_T kRemoteQueryOffset = 1024;
constexpr SIZE_T kRemoteTextOffset = kRemoteQueryOffset + sizeof(TVITEMW);
constexpr int kTreeTextChars = MAX_PATH;
constexpr SIZE_T kRemoteSize = kRemoteTextOffset + (kTreeTextChars + 1) * sizeof(wchar_t);
static_assert(kRemotePathOffset + MAX_PATH * sizeof(wchar_t) <= kRemoteQueryOffset);

std::optional<std::wstring> TreeItemText(HWND tree, HTREEITEM item, const RemoteBuffer& remote) {
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = reinterpret_cast<LPWSTR>(remote.At(kRemoteTextOffset));
    query.cchTextMax = kTreeTextChars;
    const wchar_t empty = L'\0';
    if (!remote.Write(kRemoteQueryOffset, &query, sizeof query) ||
        !remote.Write(kRemoteTextOffset, &empty, sizeof empty)) {
        return std::nullopt;
    }
    DWORD_PTR ok = 0;
    if (!::SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.At(kRemoteQueryOffset)),
                               SMTO_ABORTIFHUNG, CrossProcessSendMs(), &ok) ||
        !ok) {
        return std::nullopt;
    }
    wchar_t text[kTreeTextChars + 1] = {};
    if (!remote.Read(kRemoteTextOffset, text, kTreeTextChars * sizeof(wchar_t))) return std::nullopt;
    return std::wstring(text);
}

HTREEITEM TreeNext(HWND tree, WPARAM relation, HTREEITEM from) {
    DWORD_PTR item = 0;
    ::SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from), SMTO_ABORTIFHUNG,
                          CrossProcessSendMs(), &item);
    return reinterpret_cast<HTREEITEM>(item);
}

// The selected item and its ancestors, root first: "Desktop > My Computer > ...".
std::vector<std::wstring> SelectionChain(HWND tree, const RemoteBuffer& remote) {
    std::vector<std::wstring> chain;
    for (HTREEITEM item = TreeNext(tree, TVGN_CARET, nullptr); item; item = TreeNext(tree, TVGN_PARENT, item)) {
        chain.insert(chain.begin(), TreeItemText(tree, item, remote).value_or(L"?"));
    }
    return chain;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// How the tree names the folder at the end of a path: a drive root shows as
// "<label> (X:)", any other folder by its own name.
bool TreeNameMatches(std::wstring_view treeName, std::wstring_view path) {
    if (path.size() == 3 && path[1] == L':' && path[2] == L'\\') {
        return Lower(std::wstring(treeName)).find(Lower(L"(" + std::wstring(path.substr(0, 2)) + L")")) !=
               std::wstring::npos;
    }
    const std::size_t separator = path.find_last_of(L'\\');
    const std::wstring_view leaf = separator == std::wstring_view::npos ? path : path.substr(separator + 1);
    return Lower(std::wstring(treeName)) == Lower(std::wstring(leaf));
}

// ---- Commands ----------------------------------------------------------------

struct Options {
    DWORD timeoutMs = kDefaultTimeoutMs;
    DWORD holdMs = 0;
    std::wstring title;
    std::wstring press;
    std::wstring window;
    std::vector<std::wstring> positional;
};

const std::map<int, std::wstring_view> kButtonNames = {
    {IDOK, L"OK"},       {IDCANCEL, L"Cancel"}, {IDABORT, L"Abort"}, {IDRETRY, L"Retry"},
    {IDIGNORE, L"Ignore"}, {IDYES, L"Yes"},      {IDNO, L"No"},       {IDHELP, L"Help"},
    {IDTRYAGAIN, L"Try Again"}, {IDCONTINUE, L"Continue"},
};

std::wstring ShownButtons(HWND box) {
    std::wstring names;
    for (const auto& [id, name] : kButtonNames) {
        if (!IsShownControl(::GetDlgItem(box, id))) continue;
        if (!names.empty()) names += L",";
        names += name;
    }
    return names;
}

bool HasIcon(HWND box) {
    HWND icon = ::GetDlgItem(box, kBoxIconId);
    if (!IsShownControl(icon)) return false;
    DWORD_PTR handle = 0;
    ::SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, CrossProcessSendMs(), &handle);
    return handle != 0;
}

int PressButton(HWND dialog, int id, std::wstring_view name) {
    HWND button = ::GetDlgItem(dialog, id);
    if (!IsShownControl(button) || !::IsWindowEnabled(button)) {
        Complain(L"the box has no enabled " + std::wstring(name) + L" button");
        return kUnexpected;
    }
    // Posted, not sent: the dialog's own loop then handles it as a click.
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return kOk;
}

// Escape goes to the focused control, where the dialog manager turns it into IDCANCEL.
int PressEscape(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    HWND target = ::GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : dialog;
    ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    return kOk;
}

int Box(const Options& options) {
    HWND box = WaitForWindow(options.timeoutMs, [&](HWND window) {
        return IsMessageBox(window) && (options.title.empty() || TextOf(window) == options.title);
    });
    if (!box) {
        return TimedOut(options.timeoutMs,
                        options.title.empty() ? L"a message box" : L"a message box titled \"" + options.title + L"\"");
    }
    Field("title", TextOf(box));
    Field("prompt", TextOf(::GetDlgItem(box, kBoxPromptId)));
    Field("buttons", ShownButtons(box));
    Field("icon", HasIcon(box) ? L"shown" : L"none");
    if (!options.window.empty()) Field("window", FindVisibleByTitle(options.window) ? L"shown" : L"gone");

    if (options.holdMs) {
        ::Sleep(options.holdMs);
        if (!::IsWindow(box) || !::IsWindowVisible(box)) {
            Complain(L"the box closed by itself within " + std::to_wstring(options.holdMs) + L" ms");
            return kUnexpected;
        }
        Field("waited", std::to_wstring(options.holdMs) + L" ms");
    }
    if (options.press.empty()) return kOk;

    int pressed = kUsage;
    if (options.press == L"OK") pressed = PressButton(box, IDOK, L"OK");
    else if (options.press == L"Cancel") pressed = PressButton(box, IDCANCEL, L"Cancel");
    else if (options.press == L"Escape") pressed = PressEscape(box);
    else Complain(L"--press takes OK, Cancel or Escape");
    if (pressed != kOk) return pressed;
    if (!WaitUntilGone(box, options.timeoutMs)) {
        return TimedOut(options.timeoutMs, L"the box to close after pressing " + options.press);
    }
    Field("pressed", options.press);
    return kOk;
}

int ChooseInBrowser(HWND browser, const std::wstring& path, DWORD timeoutMs) {
    const UniqueHandle process = OpenOwningProcess(browser);
    if (!process) {
        Complain(L"cannot open the browser's process");
        return kUnexpected;
    }
    const RemoteBuffer remote(process.Get(), kRemoteSize);
    if (!remote) {
        Complain(L"cannot allocate memory in the browser's process");
        return kUnexpected;
    }
    // The installer calls the ANSI browser, so the path goes in as ANSI too,
    // unless the code page cannot hold it: then as the wide path it is.
    std::string ansi(MAX_PATH, '\0');
    BOOL lossy = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, ansi.data(),
                                             MAX_PATH, nullptr, &lossy);
    const bool wide = length == 0 || lossy;
    const bool written = wide ? path.size() < MAX_PATH &&
                                    remote.Write(kRemotePathOffset, path.c_str(), (path.size() + 1) * sizeof(wchar_t))
                              : remote.Write(kRemotePathOffset, ansi.data(), static_cast<SIZE_T>(length));
    if (!written) {
        Complain(L"cannot hand the path to the browser");
        return kUnexpected;
    }
    const UINT setSelection = wide ? BFFM_SETSELECTIONW : BFFM_SETSELECTIONA;
    // The browser shows before its tree is filled, and a selection asked for
    // too early is dropped; so it is asked again until the tree shows it. OK
    // with nothing selected would return the Desktop, so OK waits for that too.
    HWND tree = ::GetDlgItem(browser, kBrowserTreeId);
    std::vector<std::wstring> chain;
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    ULONGLONG nextRequest = 0;
    for (;;) {
        if (::GetTickCount64() >= nextRequest) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(browser, setSelection, TRUE,
                                  reinterpret_cast<LPARAM>(remote.At(kRemotePathOffset)), SMTO_ABORTIFHUNG,
                                  CrossProcessSendMs(), &ignored);
            nextRequest = ::GetTickCount64() + quillfern::testing::ScaledMs(kReselectMs);
        }
        chain = SelectionChain(tree, remote);
        if (!chain.empty() && TreeNameMatches(chain.back(), path)) break;
        if (::GetTickCount64() >= deadline) {
            std::wstring seen;
            for (const auto& name : chain) seen += (seen.empty() ? L"" : L" > ") + name;
            return TimedOut(timeoutMs, L"the browser to select " + path + L" (selected: " +
                                           (seen.empty() ? L"nothing" : seen) + L")");
        }
        ::Sleep(kRetryMs);
    }
    std::wstring selected;
    for (const auto& name : chain) selected += (selected.empty() ? L"" : L" > ") + name;
    Field("selected", selected);
    return PressButton(browser, IDOK, L"OK");
}

int Browser(const Options& options) {
    if (options.positional.empty() ||
        !(options.positional[0] == L"cancel" || (options.positional[0] == L"choose" && options.positional.size() == 2))) {
        Complain(L"browser takes: cancel | choose <path>");
        return kUsage;
    }
    HWND browser = WaitForWindow(options.timeoutMs, IsFolderBrowser);
    if (!browser) return TimedOut(options.timeoutMs, L"the folder browser");

    HWND owner = ::GetWindow(browser, GW_OWNER);
    Field("title", TextOf(browser));
    Field("prompt", TextOf(::GetDlgItem(browser, kBrowserPromptId)));
    Field("owner", owner ? TextOf(owner) : L"none");

    const int acted = options.positional[0] == L"cancel"
                          ? PressButton(browser, IDCANCEL, L"Cancel")
                          : ChooseInBrowser(browser, options.positional[1], options.timeoutMs);
    if (acted != kOk) return acted;
    if (!WaitUntilGone(browser, options.timeoutMs)) return TimedOut(options.timeoutMs, L"the browser to close");
    Field("closed", options.positional[0]);
    return kOk;
}

// The player's click on the close button arrives as SC_CLOSE.
int CloseWindow(const Options& options) {
    if (options.title.empty()) {
        Complain(L"close-window needs --title");
        return kUsage;
    }
    HWND window = WaitForWindow(options.timeoutMs, [&](HWND w) { return TextOf(w) == options.title; });
    if (!window) return TimedOut(options.timeoutMs, L"a window titled \"" + options.title + L"\"");
    Field("class", ClassOf(window));
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!WaitUntilGone(window, options.timeoutMs)) {
        return TimedOut(options.timeoutMs, L"\"" + options.title + L"\" to close");
    }
    Field("closed", options.title);
    return kOk;
}

// Keeps a file open with no sharing until the timeout, as another program would.
int Hold(const Options& options) {
    if (options.positional.size() != 1) {
        Complain(L"hold takes one path");
        return kUsage;
    }
    const std::wstring& path = options.positional[0];
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        Complain(L"cannot open " + path + L" (error " + std::to_wstring(::GetLastError()) + L")");
        return kUnexpected;
    }
    Field("held", path);
    ::Sleep(options.timeoutMs);
    return kOk;
}

int List(const Options&) {
    Field("screen", DescribeScreen());
    return kOk;
}

std::optional<Options> ParseOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 2; i < argc; ++i) {
        const std::wstring_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--timeout-ms" && hasValue) options.timeoutMs = std::wcstoul(argv[++i], nullptr, 10);
        else if (arg == L"--hold-ms" && hasValue) options.holdMs = std::wcstoul(argv[++i], nullptr, 10);
        else if (arg == L"--title" && hasValue) options.title = argv[++i];
        else if (arg == L"--press" && hasValue) options.press = argv[++i];
        else if (arg == L"--window" && hasValue) options.window = argv[++i];
        else if (arg.starts_with(L"--")) return std::nullopt;
        else options.positional.emplace_back(arg);
    }
    return options;
}

constexpr char kUsageText[] =
    "usage: qf_driver <command> [options]\n"
    "  box [--title T] [--window T] [--hold-ms N] [--press OK|Cancel|Escape]\n"
    "  browser (cancel | choose <path>)\n"
    "  close-window --title T\n"
    "  hold <path>\n"
    "  list\n"
    "every command takes --timeout-ms N (default 20000)\n";

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using Command = int (*)(const Options&);
    const std::map<std::wstring_view, Command> commands = {
        {L"box", Box},   {L"browser", Browser}, {L"close-window", CloseWindow},
        {L"hold", Hold}, {L"list", List},
    };
    const auto options = ParseOptions(argc, argv);
    const auto command = argc >= 2 ? commands.find(argv[1]) : commands.end();
    if (!options || command == commands.end()) {
        WriteRaw(STD_ERROR_HANDLE, kUsageText);
        return kUsage;
    }
    return command->second(*options);
}
