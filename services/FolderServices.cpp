#include "services/FolderServices.h"


namespace quillfern::APIs {

namespace {

constexpr std::wstring_view kDoubledSeparator = L"\\\\";

// Releases an item list through the shell that handed it out.
class ItemListOwner {
public:
    ItemListOwner(ItemList list, Shell& shell) : list_(list), shell_(shell) {}
    ~ItemListOwner() {
        if (list_) shell_.FreeItemList(list_);
    }
    ItemListOwner(const ItemListOwner&) = delete;
    ItemListOwner& operator=(const ItemListOwner&) = delete;

    ItemList Get() const { return list_; }

private:
    ItemList list_;
    Shell& shell_;
};

// The path taken through the ANSI scheme, or empty text when the shell gives
// none; lookAlike tells whether it is the shell's own path for the list.
std::wstring PathOf(ItemList list, Shell& shell, AnsiCodePage& codePage, bool* lookAlike) {
    if (lookAlike) *lookAlike = false;
    // A failed lookup may still have written part of a path: that is no folder.
    PathBuffer buffer(codePage);
    if (!shell.PathFromItemList(list, buffer.Ansi())) return {};
    std::wstring path = buffer.Path();
    if (lookAlike && !path.empty()) {
        std::wstring own;
        *lookAlike = !shell.WidePathFromItemList(list, own) || own != path;
    }
    return path;
}

}  // namespace

bool IsFolder(const std::wstring& path, FolderQuery& query) {
    // Searching from index 1 lets a UNC name's leading pair through.
    if (path.find(kDoubledSeparator, 1) != std::wstring::npos) return false;
    return query.FolderExists(path);
}

std::wstring GetSpecialFolderPath(std::int32_t csidl, Shell& shell, AnsiCodePage& codePage,
                                  bool* lookAlike) {
    if (lookAlike) *lookAlike = false;
    ItemList list = nullptr;
    if (shell.SpecialFolderLocation(csidl, &list) != 0) return {};
    const ItemListOwner owner(list, shell);
    return PathOf(owner.Get(), shell, codePage, lookAlike);
}

std::wstring BrowseForFolder(WindowHandle owner, Shell& shell, AnsiCodePage& codePage, bool* lookAlike) {
    if (lookAlike) *lookAlike = false;
    const std::string prompt = codePage.ToAnsi(kBrowsePrompt);
    const ItemListOwner list(shell.BrowseForFolder(owner, prompt, kBifReturnOnlyFsDirs), shell);
    if (!list.Get()) return {};
    return PathOf(list.Get(), shell, codePage, lookAlike);
}

}  // namespace quillfern::APIs
