// The Win32 side of the system services: the multimedia clock, the window
// event pump, the shell's ANSI folder calls and the scripting file-system object.
#pragma once

#include <windows.h>

#include "services/FolderServices.h"
#include "services/Pause.h"
#include "win32/Handles.h"

namespace quillfern::win32 {

// timeGetTime from winmm.dll, which is not a known DLL: it is loaded from the
// system folder at run time instead of being imported.
class MultimediaClock final : public APIs::MillisecondClock {
public:
    MultimediaClock();
    std::uint32_t Now() override;

private:
    using TimeGetTimeFn = DWORD(WINAPI*)();
    UniqueModule winmm_;
    TimeGetTimeFn timeGetTime_;
};

class WindowEventPump final : public APIs::EventPump {
public:
    void PumpPending() override;
};

class WinShell final : public APIs::Shell {
public:
    std::int32_t SpecialFolderLocation(std::int32_t csidl, APIs::ItemList* list) override;
    bool PathFromItemList(APIs::ItemList list, char* ansiBuffer) override;
    bool WidePathFromItemList(APIs::ItemList list, std::wstring& path) override;
    APIs::ItemList BrowseForFolder(WindowHandle owner, const std::string& ansiPrompt,
                                   std::uint32_t flags) override;
    void FreeItemList(APIs::ItemList list) override;
};

// "Scripting.FileSystemObject", created for each question and called by name.
class ScriptingFolderQuery final : public APIs::FolderQuery {
public:
    bool FolderExists(const std::wstring& path) override;
};

}  // namespace quillfern::win32
