// Whether a file output may replace what stands at its target path.
#pragma once

#include <string_view>

namespace quillfern {

// What the file system said when asked for the target's attributes.
enum class TargetLookup { Found, FileNotFound, PathNotFound, Failed };

struct TargetFacts {
    TargetLookup lookup = TargetLookup::Found;
    bool isFolder = false;
    bool isReadOnly = false;
};

// Why the target must not be replaced, or empty text when the pass may go on.
// Only "file not found" and "path not found" mean that nothing is there: any
// other failure to look might hide a file, so it stops the pass.
std::wstring_view ReplaceRefusal(const TargetFacts& facts);

}  // namespace quillfern
