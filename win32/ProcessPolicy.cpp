#include "win32/ProcessPolicy.h"

#include <windows.h>

namespace quillfern::win32 {

namespace {

// Present from Windows 8 on; the redirection trust policy only in later builds.
using SetProcessMitigationPolicyFn = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);

}  // namespace

void EnforceRedirectionTrust() {
    auto* setPolicy = reinterpret_cast<SetProcessMitigationPolicyFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetProcessMitigationPolicy")));
    if (!setPolicy) return;
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy{};
    policy.EnforceRedirectionTrust = 1;
    // A system that does not know the policy refuses it; the run goes on without.
    setPolicy(ProcessRedirectionTrustPolicy, &policy, sizeof policy);
}

}  // namespace quillfern::win32
