#include "installer/win32/WinPlatform.h"

#include <string>

#include "common/Failure.h"
#include "payload/Catalogue.h"

namespace quillfern::win32 {

namespace {

constexpr std::wstring_view kUnhandledIntro = L" stopped because of a failure it cannot handle:";
constexpr std::wstring_view kNothingWritten = L"No file has been installed.";

void ShowFailureReport(HWND owner, std::wstring_view what) {
    const std::wstring title(payload::kApplicationTitle);
    const std::wstring text = title + std::wstring(kUnhandledIntro) + L"\r\n\r\n" + std::wstring(what) +
                              L"\r\n\r\n" + std::wstring(kNothingWritten);
    ::MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace

HWND WinDialogue::Owner() const {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window_.Handle()));
    return window && ::IsWindowVisible(window) ? window : nullptr;
}

MessageResult WinDialogue::ShowMessage(std::wstring_view prompt, std::optional<std::wstring_view> title,
                                       MessageStyle style) {
    const std::wstring promptText(prompt);
    const std::wstring titleText(title.value_or(payload::kApplicationTitle));
    const UINT type = style == MessageStyle::OkCancel ? MB_OKCANCEL : MB_OK;
    const int result = ::MessageBoxW(Owner(), promptText.c_str(), titleText.c_str(), type);
    if (result == 0) throw Failure(L"A message box could not be shown.");
    return result == IDCANCEL ? MessageResult::Cancel : MessageResult::Ok;
}

void WinDialogue::Beep() { ::MessageBeep(MB_OK); }

void WinDialogue::ReportUnhandledFailure(std::wstring_view what) { ShowFailureReport(Owner(), what); }

void ReportStartupFailure(std::wstring_view what) { ShowFailureReport(nullptr, what); }

void ImmediateProgramEnd::End(Exit exit) { ::ExitProcess(static_cast<UINT>(ExitCode(exit))); }

}  // namespace quillfern::win32
