// Everything the installation sequence asks of the system, as small interfaces,
// so the whole sequence runs the same against Win32 and against test fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/WindowHandle.h"
#include "installer/Exit.h"
#include "payload/FetchPayload.h"
#include "services/FolderServices.h"
#include "services/Pause.h"

namespace quillfern {

// The installer window frmMain.
class InstallerWindow {
public:
    virtual ~InstallerWindow() = default;
    // Builds the window with all its controls, hidden.
    virtual void Create() = 0;
    // Replaces the text of the add-on label lab1(2).
    virtual void SetAddOnCaption(std::wstring_view text) = 0;
    // Makes the window visible, centred, without an owner; returns at once.
    virtual void ShowModeless() = 0;
    // The window's handle, or kNoWindow once the player has closed it.
    virtual WindowHandle Handle() const = 0;
};

enum class MessageStyle : std::int32_t { Ok = 0, OkCancel = 1 };
enum class MessageResult : std::int32_t { Ok = 1, Cancel = 2 };

class Dialogue {
public:
    virtual ~Dialogue() = default;
    // A standard message box without an icon; no title shows the application title.
    virtual MessageResult ShowMessage(std::wstring_view prompt,
                                      std::optional<std::wstring_view> title,
                                      MessageStyle style) = 0;
    virtual void Beep() = 0;
    // The report of a failure that no exit of the sequence handles.
    virtual void ReportUnhandledFailure(std::wstring_view what) = 0;
};

// Creates or replaces a file so that it holds exactly the given bytes;
// throws quillfern::Failure when it cannot.
class FileOutput {
public:
    virtual ~FileOutput() = default;
    virtual void WriteWholeFile(const std::wstring& path, std::span<const std::byte> bytes) = 0;
};

// Program end: the process ends at once with the road's exit code. Nothing is
// torn down first: not the window, not the apartment, not a loaded library.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Never returns on Windows; a test's fake records the call and returns.
    virtual void End(Exit exit) = 0;
};

struct Platform {
    InstallerWindow& window;
    Dialogue& dialogue;
    APIs::MillisecondClock& clock;
    APIs::EventPump& pump;
    APIs::Shell& shell;
    APIs::AnsiCodePage& codePage;
    APIs::FolderQuery& folders;
    payload::ResourceReader& resources;
    FileOutput& files;
    ProgramEnd& end;
};

}  // namespace quillfern
