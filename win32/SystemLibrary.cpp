#include "win32/SystemLibrary.h"

#include <string>

#include "common/Failure.h"

namespace quillfern::win32 {

namespace {

// Present from Windows 8 on, and on Windows 7 with its loader update.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

bool HasSystemFolderSearch() {
    return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories") != nullptr;
}

std::wstring SystemFolderPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) throw Failure(L"The system folder could not be found.");
    return std::wstring(folder, length) + L"\\" + name;
}

}  // namespace

void RestrictDllSearchToSystemFolder() {
    auto* setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDirectories) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least keep the current folder out of the search.
    ::SetDllDirectoryW(L"");
}

UniqueModule LoadSystemLibrary(const wchar_t* name) {
    // A full path pins the file even where the search flags are unknown.
    UniqueModule module(HasSystemFolderSearch()
                            ? ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)
                            : ::LoadLibraryW(SystemFolderPath(name).c_str()));
    if (!module) throw Failure(std::wstring(L"The system library ") + name + L" could not be loaded.");
    return module;
}

FARPROC FindExport(HMODULE module, const char* name) {
    FARPROC proc = ::GetProcAddress(module, name);
    if (!proc) {
        throw Failure(L"A system library lacks the function " +
                      std::wstring(name, name + lstrlenA(name)) + L".");
    }
    return proc;
}

}  // namespace quillfern::win32
