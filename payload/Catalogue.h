// What this build carries: the name table's contents and where each entry's
// bytes live in the resource section.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "payload/Identity.h"

namespace quillfern::payload {

inline constexpr std::wstring_view kApplicationTitle = L"" QF_APP_TITLE;
inline constexpr std::wstring_view kPayloadType = L"" QF_PAYLOAD_TYPE;

// The name table has room for eight entries; a deck uses them all.
inline constexpr std::size_t kNameSlots = 8;

// Installed in this order; the first name's extension decides the kind.
inline constexpr std::array<std::wstring_view, 5> kCatalogue = {
    L"Quillfern.fac",  L"Quillfern1.edf", L"Quillfern2.edf",
    L"Quillfern3.edf", L"Quillfern4.edf",
};

constexpr std::int32_t PayloadId(std::int32_t index) { return QF_FIRST_PAYLOAD_ID + index; }

}  // namespace quillfern::payload
