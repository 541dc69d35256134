// One run of the installation on the Win32 platform objects.
#pragma once

#include <functional>

#include "installer/Exit.h"
#include "installer/Platform.h"

namespace quillfern::win32 {

// Gives the platform the sequence will run on. A test-only build uses it to
// put its own wrappers around some of the real objects; the product has none.
using PlatformDecorator = std::function<Platform(const Platform&)>;

// Assembles the Win32 platform and runs the installation sequence once, which
// ends the process right after its final box. Returns only if a decorated
// platform's end returns; the caller then ends the process.
Exit RunWinInstaller(const PlatformDecorator& decorate = {});

}  // namespace quillfern::win32
