#include "win32/AnsiCodePage.h"

#include <windows.h>

namespace quillfern::win32 {

namespace {

// A character the code page lacks becomes the default character, never a
// look-alike such as a separator. A UTF-8 code page lacks none and takes no flag.
DWORD NoBestFit() { return ::GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS; }

}  // namespace

std::string SystemAnsiCodePage::ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int wideLength = static_cast<int>(text.size());
    const DWORD flags = NoBestFit();
    const int length =
        ::WideCharToMultiByte(CP_ACP, flags, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring SystemAnsiCodePage::FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int byteLength = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteLength, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteLength, text.data(), length);
    return text;
}

}  // namespace quillfern::win32
