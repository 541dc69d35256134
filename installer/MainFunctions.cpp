#include "installer/MainFunctions.h"

#include <algorithm>
#include <optional>

#include "common/Failure.h"
#include "installer/Messages.h"
#include "payload/FetchPayload.h"

namespace quillfern {

namespace {

using namespace messages;

constexpr std::int32_t kPauseMilliseconds = 2000;
constexpr std::int32_t kLastFaceSetIndex = 4;
constexpr std::int32_t kLastDeckIndex = 7;

std::wstring Join(std::initializer_list<std::wstring_view> parts) {
    std::wstring text;
    for (std::wstring_view part : parts) text += part;
    return text;
}

std::wstring Lines(std::initializer_list<std::wstring_view> lines) {
    std::wstring text;
    for (std::wstring_view line : lines) {
        if (!text.empty()) text += kLineBreak;
        text += line;
    }
    return text;
}

}  // namespace

AddOnKind SetKind(std::wstring_view firstFileName) {
    const std::wstring_view lastThree =
        firstFileName.substr(firstFileName.size() - std::min<std::size_t>(3, firstFileName.size()));
    if (lastThree == L"fac") return AddOnKind::FaceSet;
    if (lastThree == L"dek") return AddOnKind::Deck;
    return AddOnKind::None;
}

MainFunctions::MainFunctions(Platform& platform, std::span<const std::wstring_view> catalogue)
    : platform_(platform), catalogue_(catalogue.first(std::min(catalogue.size(), payload::kNameSlots))) {}

Exit MainFunctions::Main() {
    const Exit exit = Run();
    platform_.end.End(exit);
    return exit;
}

Exit MainFunctions::Run() {
    try {
        return RunSequence();
    } catch (const Failure& failure) {
        platform_.dialogue.ReportUnhandledFailure(failure.Message());
    } catch (const std::exception& failure) {
        // The library's texts are in the ANSI code page, not one byte a character.
        platform_.dialogue.ReportUnhandledFailure(platform_.codePage.FromAnsi(failure.what()));
    }
    return Exit::UnhandledFailure;
}

Exit MainFunctions::RunSequence() {
    Platform& p = platform_;
    p.window.Create();

    std::copy(catalogue_.begin(), catalogue_.end(), InstallFiles.begin());
    if (InstallFiles[0].empty()) {
        p.dialogue.ShowMessage(kNoEmbeddedFileInfo, std::nullopt, MessageStyle::Ok);
        return Exit::CatalogueEmpty;
    }
    switch (SetKind(InstallFiles[0])) {
        case AddOnKind::FaceSet: LastFileIndex = kLastFaceSetIndex; break;
        case AddOnKind::Deck: LastFileIndex = kLastDeckIndex; break;
        case AddOnKind::None: break;
    }

    p.window.SetAddOnCaption(Join({kDisplayName, kAddOnCaptionSuffix}));
    p.window.ShowModeless();
    APIs::Pause(kPauseMilliseconds, p.clock, p.pump);

    // A look-alike path counts as missing: nothing is asked of it, nothing written.
    bool lookAlike = false;
    std::wstring destFolder = DefaultDestination(lookAlike);
    if (lookAlike || !APIs::IsFolder(destFolder, p.folders)) {
        const MessageResult answer = p.dialogue.ShowMessage(
            Lines({kDefaultNotFoundLine1, kDefaultNotFoundLine2, kDefaultNotFoundLine3}),
            Join({destFolder, kNotFoundTitleSuffix}), MessageStyle::OkCancel);
        if (answer == MessageResult::Cancel) return Exit::UserDeclined;

        // Taken as the user chose it: nothing appended, no separator removed.
        destFolder = APIs::BrowseForFolder(p.window.Handle(), p.shell, p.codePage, &lookAlike);
        if (destFolder.empty()) {
            p.dialogue.ShowMessage(Lines({kNoFolderSpecified, Join({kAppName, kWillNowExitSuffix})}),
                                   kFolderNotSpecifiedTitle, MessageStyle::Ok);
            return Exit::NoFolderChosen;
        }
    }

    if (lookAlike || !APIs::IsFolder(destFolder, p.folders)) {
        p.dialogue.ShowMessage(Lines({kDestinationNotFound, Join({kAppName, kWillNowExitSuffix})}),
                               Join({destFolder, kNotFoundTitleSuffix}), MessageStyle::Ok);
        return Exit::FolderMissing;
    }

    return WriteFiles(destFolder);
}

std::wstring MainFunctions::DefaultDestination(bool& lookAlike) {
    std::wstring folder = APIs::GetSpecialFolderPath(APIs::kCsidlCommonAppData, platform_.shell,
                                                     platform_.codePage, &lookAlike);
    // A drive root comes back with its separator; drop it so the join is single.
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder + std::wstring(kDefaultSubfolder);
}

Exit MainFunctions::WriteFiles(const std::wstring& destFolder) {
    Platform& p = platform_;
    // The separator goes in even after a drive root's own; the file system
    // resolves the pair to a file in the root.
    const auto filePath = [&](std::int32_t index) {
        return Join({destFolder, kPathSeparator, InstallFiles[static_cast<std::size_t>(index)]});
    };

    // The first fetch happens before the error exit is armed: a build without
    // its first payload is a broken build, reported as an unhandled failure.
    std::wstring path = filePath(0);
    payload::Bytes bytes = payload::FetchPayload(0, p.resources);

    try {
        for (std::int32_t index = 0;;) {
            p.files.WriteWholeFile(path, bytes);
            if (++index > LastFileIndex) break;
            path = filePath(index);
            bytes = {};  // one payload held at a time: free it before fetching the next
            bytes = payload::FetchPayload(index, p.resources);
        }
        p.dialogue.Beep();
        p.dialogue.ShowMessage(Join({kDisplayName, kInstalledSuffix}), kSuccessTitle,
                               MessageStyle::Ok);
        return Exit::Success;
    } catch (...) {
        // Files may be written by now, so even a box that cannot be shown must
        // not turn into the report that says none was: the road stays this one.
        try {
            p.dialogue.ShowMessage(Lines({kUnexpectedError, Join({kAppName, kWillNowExitSuffix})}),
                                   kErrorTitle, MessageStyle::Ok);
        } catch (...) {
        }
        return Exit::WriteFailure;
    }
}

}  // namespace quillfern
