// How paths cross the shell's ANSI entry points: a MAX_PATH buffer of code 0,
// handed over as an ANSI copy and converted back, cut at the first code 0.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillfern::APIs {

// The system ANSI code page. A character it lacks is lost in the conversion.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    virtual std::string ToAnsi(std::wstring_view text) = 0;
    virtual std::wstring FromAnsi(std::string_view bytes) = 0;
};

class PathBuffer {
public:
    // MAX_PATH: the shell's ANSI path calls write at most this many bytes,
    // terminator included, so a path holds at most 259 ANSI bytes.
    static constexpr std::size_t kCharacters = 260;

    explicit PathBuffer(AnsiCodePage& codePage);

    // The ANSI copy the shell writes into: kCharacters bytes, all zero at first.
    char* Ansi() { return ansi_.data(); }

    // The buffer converted back, every character before the first code 0.
    std::wstring Path() const;

private:
    AnsiCodePage& codePage_;
    std::array<char, kCharacters> ansi_{};
};

}  // namespace quillfern::APIs
