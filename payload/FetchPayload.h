// Fetching one payload entry: a fresh copy of exactly its resource's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillfern::payload {

using Bytes = std::vector<std::byte>;

// The running executable's own resources, found by type name and integer id.
class ResourceReader {
public:
    virtual ~ResourceReader() = default;
    // The resource's bytes, or nothing when the module has no such resource.
    virtual std::optional<std::span<const std::byte>> Find(std::wstring_view type,
                                                           std::int32_t id) = 0;
};

// Throws quillfern::Failure when the resource is absent. Never decodes,
// converts or checks the content.
Bytes FetchPayload(std::int32_t index, ResourceReader& resources);

}  // namespace quillfern::payload
