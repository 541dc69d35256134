#include "services/win32/WinServices.h"

namespace quillfern::win32 {

void WindowEventPump::PumpPending() {
    // PeekMessage never waits; a quit message, should one appear, is consumed
    // here rather than left to end a later message box.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace quillfern::win32
