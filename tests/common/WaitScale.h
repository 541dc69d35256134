// How much longer the test programs wait under emulation: the test guest sets
// QF_WAIT_SCALE to the factor that emulation costs; elsewhere it is 1.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace quillfern::testing {

inline DWORD WaitScale() {
    static const DWORD scale = [] {
        wchar_t value[16] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"QF_WAIT_SCALE", value, 16);
        const unsigned long parsed = length > 0 && length < 16 ? std::wcstoul(value, nullptr, 10) : 1;
        return static_cast<DWORD>(std::clamp(parsed, 1ul, 100ul));
    }();
    return scale;
}

// A wait of `ms` milliseconds on a native machine, stretched for emulation.
inline DWORD ScaledMs(DWORD ms) { return ms * WaitScale(); }

}  // namespace quillfern::testing
