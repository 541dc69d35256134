// The floor of the whole-run figure: a program that only shows a message box.
// It stamps the moment before its box and its peak working set and private
// bytes there, as the timing build of the installer does before its success box.
#include <windows.h>

#include "bench/Record.h"

namespace {
constexpr wchar_t kPrompt[] = L"Floor";
constexpr wchar_t kTitle[] = L"Benchmark floor";
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    using namespace quillfern::bench;
    Record record;
    record.Add("box", Ticks());
    record.Add("peak_ws_box", PeakWorkingSet());
    record.Add("private_box", PeakPrivateBytes());
    ::MessageBoxW(nullptr, kPrompt, kTitle, MB_OK);
    ::ExitProcess(record.Save(PathArgument(commandLine)) ? 0 : 1);
}
