#include "services/win32/WinServices.h"

#include "win32/SystemLibrary.h"

namespace quillfern::win32 {

MultimediaClock::MultimediaClock()
    : winmm_(LoadSystemLibrary(L"winmm.dll")),
      timeGetTime_(FindFunction<TimeGetTimeFn>(winmm_.Get(), "timeGetTime")) {}

std::uint32_t MultimediaClock::Now() { return timeGetTime_(); }

}  // namespace quillfern::win32
