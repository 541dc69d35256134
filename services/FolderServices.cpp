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

}  // namespace

bool IsFolder(const std::wstring& path, FolderQuery& query) {
    // Searching from index 1 lets a UNC name's leading pair through.
    if (path.find(kDoubledSeparator, 1) != std::wstring::npos) return false;
    return query.FolderExists(path);
}

std::wstring GetSpecialFolderPath(std::int32_t csidl, Shell& shell, AnsiCodePage& codePage) {
    ItemList list = nullptr;
    if (shell.SpecialFolderLocation(csidl, &list) != 0) return {};
    const ItemListOwner owner(list, shell);

    PathBuffer buffer(codePage);
    if (!shell.PathFromItemList(owner.Get(), buffer.Ansi())) return {};
    return buffer.Path();
}

std::wstring BrowseForFolder(WindowHandle owner, Shell& shell, AnsiCodePage& codePage) {
    const std::string prompt = codePage.ToAnsi(kBrowsePrompt);
    const ItemListOwner list(shell.BrowseForFolder(owner, prompt, kBifReturnOnlyFsDirs), shell);
    if (!list.Get()) return {};

    // A failed lookup writes nothing, which leaves the buffer empty: no folder.
    PathBuffer buffer(codePage);
    shell.PathFromItemList(list.Get(), buffer.Ansi());
    return buffer.Path();
}

}  // namespace quillfern::APIs
