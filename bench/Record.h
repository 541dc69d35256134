// The figures one benchmark program hands to the runner: "name value" lines,
// printed or saved to the file named on its command line.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "win32/Handles.h"

namespace quillfern::bench {

// QueryPerformanceCounter ticks: one clock shared by every process of the
// Wine session, so stamps taken in different programs can be subtracted.
inline std::int64_t Ticks() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline std::int64_t TicksPerSecond() {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

// Private bytes: the memory that the process alone holds, its commit charge.
// Windows keeps their peak in PeakPagefileUsage; Wine reports the current
// figure there too, so the larger of the two is the peak as far as it is known.
struct MemoryPeaks {
    std::int64_t workingSet = -1;
    std::int64_t privateBytes = -1;
};

inline MemoryPeaks ReadMemoryPeaks(HANDLE process = ::GetCurrentProcess()) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof counters)) {
        return {};
    }
    return {static_cast<std::int64_t>(counters.PeakWorkingSetSize),
            static_cast<std::int64_t>(std::max(counters.PeakPagefileUsage, counters.PrivateUsage))};
}

inline std::int64_t PeakWorkingSet(HANDLE process = ::GetCurrentProcess()) {
    return ReadMemoryPeaks(process).workingSet;
}

inline std::int64_t PeakPrivateBytes(HANDLE process = ::GetCurrentProcess()) {
    return ReadMemoryPeaks(process).privateBytes;
}

// A GUI program's command line tail: one path without spaces, as the runner
// passes it.
inline const wchar_t* PathArgument(const wchar_t* commandLine) {
    while (*commandLine == L' ') ++commandLine;
    return commandLine;
}

// Fixed room and no std::string, so that the floor programs stay free of
// the C++ run time and really are trivial.
class Record {
public:
    void Add(std::string_view name, std::int64_t value) {
        Append(name);
        Append(" ");
        char digits[24];
        const auto converted = std::to_chars(digits, digits + sizeof digits, value);
        Append(std::string_view(digits, static_cast<std::size_t>(converted.ptr - digits)));
        Append("\n");
    }

    bool Save(const wchar_t* path) const {
        const win32::UniqueFile file(
            ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file && WriteTo(file.Get());
    }

    bool Print() const { return WriteTo(::GetStdHandle(STD_OUTPUT_HANDLE)); }

private:
    void Append(std::string_view part) {
        if (part.size() > sizeof text_ - used_) {
            full_ = true;
            return;
        }
        std::memcpy(text_ + used_, part.data(), part.size());
        used_ += part.size();
    }

    // A record that did not fit is not written at all: the runner then
    // reports the run as broken instead of reading half of it.
    bool WriteTo(HANDLE out) const {
        DWORD written = 0;
        return !full_ && ::WriteFile(out, text_, static_cast<DWORD>(used_), &written, nullptr) &&
               written == used_;
    }

    char text_[4096];
    std::size_t used_ = 0;
    bool full_ = false;
};

}  // namespace quillfern::bench
