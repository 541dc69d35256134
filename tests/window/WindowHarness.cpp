// qf_window_harness <milliseconds>: shows frmMain as the installation sequence
// does (created hidden, add-on line set, shown modeless) and keeps it alive with
// the paced wait until the window has been closed or the time is up.
#include <windows.h>

#include <cwchar>
#include <string>

#include "installer/Messages.h"
#include "services/Pause.h"
#include "services/win32/WinServices.h"
#include "ui/win32/FrmMain.h"
#include "win32/Com.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    using namespace quillfern;
    constexpr std::int32_t kSliceMilliseconds = 50;
    // Exit codes: 0 once the player has closed the window, 1 when the time ran out.
    constexpr int kClosed = 0;
    constexpr int kTimeUp = 1;
    const long lifetime = std::wcstol(commandLine, nullptr, 10);
    if (lifetime <= 0) return 2;

    try {
        const win32::ComApartment apartment;
        win32::MultimediaClock clock;
        win32::WindowEventPump pump;
        ui::FrmMain window;
        window.Create();
        window.SetAddOnCaption(std::wstring(messages::kDisplayName) +
                               std::wstring(messages::kAddOnCaptionSuffix));
        window.ShowModeless();

        const std::uint32_t start = clock.Now();
        while (window.Handle() != kNoWindow) {
            if (APIs::ElapsedMilliseconds(start, clock.Now()) >= lifetime) return kTimeUp;
            APIs::Pause(kSliceMilliseconds, clock, pump);
        }
        return kClosed;
    } catch (const std::exception&) {
        return 3;
    }
}
