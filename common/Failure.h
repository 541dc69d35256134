// The one exception type of the program: a failure that names what went wrong.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace quillfern {

class Failure : public std::exception {
public:
    explicit Failure(std::wstring message)
        : message_(std::move(message)), narrow_(Narrow(message_)) {}

    // The text shown to the player when the failure is reported.
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    // what() must be a narrow string; the messages are ASCII apart from paths.
    static std::string Narrow(std::wstring_view text) {
        std::string out;
        out.reserve(text.size());
        for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return out;
    }

    std::wstring message_;
    std::string narrow_;
};

}  // namespace quillfern
