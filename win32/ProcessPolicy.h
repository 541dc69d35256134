// Mitigations the process asks of the system for itself at start-up.
#pragma once

namespace quillfern::win32 {

// Refuses to follow file-system junctions that a non-administrator created,
// for every later file operation of the process. Where the system lacks the
// policy (before Windows 11 and its updates, or under Wine) nothing happens.
void EnforceRedirectionTrust();

}  // namespace quillfern::win32
