// The running executable's own resource section.
#pragma once

#include <windows.h>

#include "payload/FetchPayload.h"

namespace quillfern::win32 {

class ModuleResources final : public payload::ResourceReader {
public:
    // The process's own executable unless another loaded module is named.
    explicit ModuleResources(HMODULE module = ::GetModuleHandleW(nullptr)) : module_(module) {}

    std::optional<std::span<const std::byte>> Find(std::wstring_view type, std::int32_t id) override;

private:
    HMODULE module_;
};

}  // namespace quillfern::win32
