// A window's native handle as the core passes it around: a 32-bit value.
#pragma once

#include <cstdint>

namespace quillfern {

using WindowHandle = std::uint32_t;
inline constexpr WindowHandle kNoWindow = 0;

}  // namespace quillfern
