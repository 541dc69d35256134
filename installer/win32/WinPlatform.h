// The Win32 side of the installation sequence's dialogue and file output.
#pragma once

#include <windows.h>

#include "installer/Platform.h"

namespace quillfern::win32 {

// Standard message boxes. They are owned by the installer window while it is
// on screen, so they stay above it; before it shows (or once closed), by nobody.
class WinDialogue final : public Dialogue {
public:
    explicit WinDialogue(const InstallerWindow& window) : window_(window) {}

    MessageResult ShowMessage(std::wstring_view prompt, std::optional<std::wstring_view> title,
                              MessageStyle style) override;
    void Beep() override;
    void ReportUnhandledFailure(std::wstring_view what) override;

private:
    HWND Owner() const;
    const InstallerWindow& window_;
};

// Reports a failure that happened before there was an installation sequence to
// report it (COM or a system library would not start).
void ReportStartupFailure(std::wstring_view what);

// Replaces a file only once its new content is complete and verified, and
// only in the folder it names, which a standard user may own: the folder is
// opened once, the bytes go to a new temporary file of a random name that is
// confirmed to lie in that folder, are flushed and read back, and the file is
// renamed over the target relative to the folder's handle. Nothing is moved or
// deleted by name. A failed pass leaves the target as it was and no temporary
// file behind. A read-only target is refused here, because the platform does
// not always refuse it (Wine as root).
// ExitProcess with the road's exit code, called while every object of the run
// is still alive: the window, the apartment and winmm are left to the system.
class ImmediateProgramEnd final : public ProgramEnd {
public:
    [[noreturn]] void End(Exit exit) override;
};

class SafeFileOutput final : public FileOutput {
public:
    void WriteWholeFile(const std::wstring& path, std::span<const std::byte> bytes) override;
};

}  // namespace quillfern::win32
