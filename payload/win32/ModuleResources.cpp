#include "payload/win32/ModuleResources.h"

#include <string>

namespace quillfern::win32 {

std::optional<std::span<const std::byte>> ModuleResources::Find(std::wstring_view type,
                                                                std::int32_t id) {
    // The type is a name, the identifier a number: MAKEINTRESOURCE, not "#101".
    const std::wstring typeName(type);
    HRSRC info = ::FindResourceW(module_, MAKEINTRESOURCEW(id), typeName.c_str());
    if (!info) return std::nullopt;
    const DWORD size = ::SizeofResource(module_, info);
    HGLOBAL loaded = ::LoadResource(module_, info);
    if (!loaded) return std::nullopt;
    // Resource memory belongs to the mapped module; it is never freed.
    const auto* bytes = static_cast<const std::byte*>(::LockResource(loaded));
    if (!bytes && size != 0) return std::nullopt;
    return std::span<const std::byte>(bytes, size);
}

}  // namespace quillfern::win32
