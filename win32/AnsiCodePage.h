// Conversion to and from the system ANSI code page, for the shell's ANSI calls.
#pragma once

#include "services/PathBuffer.h"

namespace quillfern::win32 {

class SystemAnsiCodePage final : public APIs::AnsiCodePage {
public:
    std::string ToAnsi(std::wstring_view text) override;
    std::wstring FromAnsi(std::string_view bytes) override;
};

}  // namespace quillfern::win32
