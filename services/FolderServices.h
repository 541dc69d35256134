// The folder services: special-folder lookup, folder-existence test and the
// folder browser, written over the shell's ANSI calls so the rules run anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/WindowHandle.h"
#include "services/PathBuffer.h"

namespace quillfern::APIs {

inline constexpr std::int32_t kCsidlCommonAppData = 0x23;
inline constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x1;
// The prompt the browser shows above its folder tree.
inline constexpr std::wstring_view kBrowsePrompt = L"C:\\";

// The shell's opaque item identifier list; owned by whoever obtained it.
using ItemList = void*;

class Shell {
public:
    virtual ~Shell() = default;
    // SHGetSpecialFolderLocation with no owner; 0 means a list was stored.
    virtual std::int32_t SpecialFolderLocation(std::int32_t csidl, ItemList* list) = 0;
    // SHGetPathFromIDListA into a buffer of PathBuffer::kCharacters bytes.
    virtual bool PathFromItemList(ItemList list, char* ansiBuffer) = 0;
    // The shell's own wide path for the same list; false when it has none.
    virtual bool WidePathFromItemList(ItemList list, std::wstring& path) = 0;
    // The ANSI SHBrowseForFolder; null when the user cancels.
    virtual ItemList BrowseForFolder(WindowHandle owner, const std::string& ansiPrompt,
                                     std::uint32_t flags) = 0;
    // CoTaskMemFree.
    virtual void FreeItemList(ItemList list) = 0;
};

// The file system's own answer to "does this folder exist". A failure to ask
// (the query object cannot be created or called) is thrown, not answered.
class FolderQuery {
public:
    virtual ~FolderQuery() = default;
    virtual bool FolderExists(const std::wstring& path) = 0;
};

// True when the path has no doubled separator from its second character on and
// the folder exists. A leading UNC pair is not a doubled separator.
bool IsFolder(const std::wstring& path, FolderQuery& query);

// The two routines below give the path as the ANSI scheme brings it back. The
// code page best-fits what it lacks (a Greek omega becomes O, a fullwidth
// backslash a separator), so that path can name another folder that exists.
// lookAlike, where given, is set to whether the path differs from the shell's
// own wide path for the item; a caller must then treat the folder as missing.

// The special folder's file-system path, or empty text; never throws a shell failure.
std::wstring GetSpecialFolderPath(std::int32_t csidl, Shell& shell, AnsiCodePage& codePage,
                                  bool* lookAlike = nullptr);

// The folder the user picks, or empty text when the browser is cancelled or
// the chosen item has no path.
std::wstring BrowseForFolder(WindowHandle owner, Shell& shell, AnsiCodePage& codePage,
                             bool* lookAlike = nullptr);

}  // namespace quillfern::APIs
