#include "services/PathBuffer.h"

#include <algorithm>

namespace quillfern::APIs {

PathBuffer::PathBuffer(AnsiCodePage& codePage) : codePage_(codePage) {
    const std::string zeros = codePage_.ToAnsi(std::wstring(kCharacters, L'\0'));
    std::copy_n(zeros.begin(), std::min(zeros.size(), ansi_.size()), ansi_.begin());
}

std::wstring PathBuffer::Path() const {
    std::wstring text = codePage_.FromAnsi(std::string_view(ansi_.data(), ansi_.size()));
    const auto end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

}  // namespace quillfern::APIs
