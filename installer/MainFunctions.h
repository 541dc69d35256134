// The installation sequence and the installer state it owns for the run.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "installer/Exit.h"
#include "installer/Platform.h"
#include "payload/Catalogue.h"

namespace quillfern {

enum class AddOnKind { None, FaceSet, Deck };

// Decided from the last three characters of the first file name, exactly and
// case-sensitively; a shorter name is compared whole.
AddOnKind SetKind(std::wstring_view firstFileName);

class MainFunctions {
public:
    // The catalogue is the build's own unless a test hands in another.
    explicit MainFunctions(Platform& platform,
                           std::span<const std::wstring_view> catalogue = payload::kCatalogue);

    // Runs the whole installation once and ends the program right after the
    // final message, through the platform. Returns only where that end does.
    Exit Main();

    std::array<std::wstring, payload::kNameSlots> InstallFiles{};
    std::int32_t LastFileIndex = 0;

private:
    // The road taken, with every failure turned into its exit.
    Exit Run();
    Exit RunSequence();
    std::wstring DefaultDestination(bool& lookAlike);
    // Entered with the error exit not yet armed; arms it before the first file opens.
    Exit WriteFiles(const std::wstring& destFolder);

    Platform& platform_;
    std::span<const std::wstring_view> catalogue_;
};

}  // namespace quillfern
