// The seven ways a run ends, each with its own process exit code.
#pragma once

namespace quillfern {

enum class Exit : int {
    Success = 0,           // every file written, "Success!" shown
    CatalogueEmpty = 1,    // "No Embedded File Info!"
    UserDeclined = 2,      // Cancel on the default-folder question
    NoFolderChosen = 3,    // the folder browser gave no folder
    FolderMissing = 4,     // the destination failed the final existence test
    WriteFailure = 5,      // "Unexpected Error!" from the error exit
    UnhandledFailure = 6,  // a failure before the error exit was armed
};

constexpr int ExitCode(Exit exit) { return static_cast<int>(exit); }

}  // namespace quillfern
