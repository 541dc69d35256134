#include "services/win32/WinServices.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace quillfern::win32 {

std::int32_t WinShell::SpecialFolderLocation(std::int32_t csidl, APIs::ItemList* list) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    const HRESULT hr = ::SHGetSpecialFolderLocation(nullptr, csidl, &pidl);
    // A failed call stores no list; if a shell stores one anyway, it is not ours to keep.
    if (hr != S_OK) {
        ::CoTaskMemFree(pidl);
        return static_cast<std::int32_t>(hr);
    }
    *list = pidl;
    return 0;
}

bool WinShell::PathFromItemList(APIs::ItemList list, char* ansiBuffer) {
    return ::SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(list), ansiBuffer) != FALSE;
}

bool WinShell::WidePathFromItemList(APIs::ItemList list, std::wstring& path) {
    // MAX_PATH is enough: an ANSI path that matches it has at most 259 characters.
    wchar_t buffer[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(list), buffer)) return false;
    path = buffer;
    return true;
}

APIs::ItemList WinShell::BrowseForFolder(WindowHandle owner, const std::string& ansiPrompt,
                                         std::uint32_t flags) {
    // The prompt's copy lives until the browser has closed.
    std::vector<char> prompt(ansiPrompt.begin(), ansiPrompt.end());
    prompt.push_back('\0');

    BROWSEINFOA info{};
    info.hwndOwner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(owner));
    info.lpszTitle = ::lstrcatA(prompt.data(), "");
    info.ulFlags = flags;
    return ::SHBrowseForFolderA(&info);
}

void WinShell::FreeItemList(APIs::ItemList list) { ::CoTaskMemFree(list); }

}  // namespace quillfern::win32
