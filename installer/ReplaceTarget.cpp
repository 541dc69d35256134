#include "installer/ReplaceTarget.h"

namespace quillfern {

std::wstring_view ReplaceRefusal(const TargetFacts& facts) {
    switch (facts.lookup) {
        case TargetLookup::FileNotFound:
        case TargetLookup::PathNotFound: return {};
        case TargetLookup::Failed: return L"cannot be examined";
        case TargetLookup::Found: break;
    }
    if (facts.isFolder) return L"is a folder, not a file";
    if (facts.isReadOnly) return L"is read-only";
    return {};
}

}  // namespace quillfern
