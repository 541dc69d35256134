// Every text the installation sequence shows, written once.
#pragma once

#include <string_view>

namespace quillfern::messages {

inline constexpr std::wstring_view kAppName = L"QuillfernFaces";
inline constexpr std::wstring_view kDisplayName = L"Quillfern Card Faces";
inline constexpr std::wstring_view kLineBreak = L"\r\n";

inline constexpr std::wstring_view kAddOnCaptionSuffix = L" Installation";
inline constexpr std::wstring_view kDefaultSubfolder = L"\\Tolvar\\graphics";
inline constexpr std::wstring_view kPathSeparator = L"\\";

inline constexpr std::wstring_view kNoEmbeddedFileInfo = L"No Embedded File Info!";

inline constexpr std::wstring_view kDefaultNotFoundLine1 = L"Default destination folder not found.";
inline constexpr std::wstring_view kDefaultNotFoundLine2 =
    L"Make sure Tolvar has already been installed.";
inline constexpr std::wstring_view kDefaultNotFoundLine3 =
    L"Select OK to browse for Tolvar\\graphics folder or CANCEL to Exit.";
inline constexpr std::wstring_view kNotFoundTitleSuffix = L" not found.";

inline constexpr std::wstring_view kNoFolderSpecified = L"No folder specified.";
inline constexpr std::wstring_view kFolderNotSpecifiedTitle = L"Folder not specified.";
inline constexpr std::wstring_view kWillNowExitSuffix = L" will now exit.";

inline constexpr std::wstring_view kDestinationNotFound = L"Destination folder not found.";

inline constexpr std::wstring_view kInstalledSuffix = L" Installed!";
inline constexpr std::wstring_view kSuccessTitle = L"Success!";

inline constexpr std::wstring_view kUnexpectedError = L"Unexpected Error!";
inline constexpr std::wstring_view kErrorTitle = L"Error";

}  // namespace quillfern::messages
