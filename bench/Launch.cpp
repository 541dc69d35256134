// qf_bench_launch <program> [argument]: starts a program, passing the argument
// on as it is, stamps the moment just before, presses OK on each message box
// the program shows, samples its memory at each poll, stamps the moment it
// ends, and then prints the stamps, the peaks, the program's exit code and the
// tick rate. A silent installer shows no box: its files are on disk when it ends.
#include <windows.h>

#include <algorithm>
#include <string>

#include "bench/Record.h"
#include "win32/Handles.h"

namespace {

using namespace quillfern;

constexpr wchar_t kBoxClass[] = L"#32770";
constexpr DWORD kPollMs = 5;
// Memory is sampled every fourth poll: each sample asks the wineserver, and
// under emulation that would take the program's processor time.
constexpr int kPollsPerSample = 4;
constexpr DWORD kGiveUpMs = 60000;
constexpr int kFailed = 1;

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[16];
    if (owner != search.processId || !::IsWindowVisible(window) ||
        ::GetClassNameW(window, className, ARRAYSIZE(className)) == 0 ||
        std::wstring_view(className) != kBoxClass) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

std::wstring Quoted(const wchar_t* text) { return L"\"" + std::wstring(text) + L"\""; }

void Complain(std::string_view text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
                nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        Complain("usage: qf_bench_launch <program> [argument]\n");
        return kFailed;
    }
    std::wstring commandLine = Quoted(argv[1]);
    if (argc == 3) commandLine += L" " + std::wstring(argv[2]);

    bench::Record record;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const std::int64_t launch = bench::Ticks();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started)) {
        Complain("qf_bench_launch: the program would not start\n");
        return kFailed;
    }
    const win32::UniqueHandle process(started.hProcess);
    const win32::UniqueHandle thread(started.hThread);
    record.Add("launch", launch);

    HWND pressed = nullptr;
    bench::MemoryPeaks peaks{0, 0};
    int polls = 0;
    const ULONGLONG giveUp = ::GetTickCount64() + kGiveUpMs;
    while (::WaitForSingleObject(process.Get(), kPollMs) == WAIT_TIMEOUT) {
        if (::GetTickCount64() > giveUp) {
            ::TerminateProcess(process.Get(), kFailed);
            Complain("qf_bench_launch: the program did not end in time\n");
            return kFailed;
        }
        // Wine keeps no peak of private bytes, so the samples make one.
        if (polls++ % kPollsPerSample == 0) {
            const bench::MemoryPeaks now = bench::ReadMemoryPeaks(process.Get());
            peaks.workingSet = std::max(peaks.workingSet, now.workingSet);
            peaks.privateBytes = std::max(peaks.privateBytes, now.privateBytes);
        }
        BoxSearch search{started.dwProcessId, nullptr};
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found || search.found == pressed) continue;
        // Seen from outside, to within one poll; read before OK ends the program.
        if (!pressed) {
            record.Add("box_seen", bench::Ticks());
            const bench::MemoryPeaks atBox = bench::ReadMemoryPeaks(process.Get());
            record.Add("peak_ws_seen", atBox.workingSet);
            record.Add("private_seen", atBox.privateBytes);
            peaks.workingSet = std::max(peaks.workingSet, atBox.workingSet);
            peaks.privateBytes = std::max(peaks.privateBytes, atBox.privateBytes);
        }
        ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(search.found, IDOK)));
        pressed = search.found;
    }

    record.Add("ended", bench::Ticks());
    record.Add("peak_ws_sampled", peaks.workingSet);
    record.Add("peak_private_sampled", peaks.privateBytes);

    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    record.Add("exit", exitCode);
    record.Add("ticks_per_second", bench::TicksPerSecond());
    return record.Print() ? 0 : kFailed;
}
