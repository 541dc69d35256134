// When a file output may replace its target: absent, unreadable, or refused.
#include <gtest/gtest.h>

#include <string>

#include "installer/ReplaceTarget.h"

namespace quillfern::testing {
namespace {

struct Case {
    const char* name;
    TargetFacts facts;
    const wchar_t* refusal;  // empty: the pass goes on
};

const Case kCases[] = {
    {"PlainFileIsReplaced", {TargetLookup::Found, false, false}, L""},
    {"FileNotFoundIsAbsent", {TargetLookup::FileNotFound}, L""},
    {"PathNotFoundIsAbsent", {TargetLookup::PathNotFound}, L""},
    // Access denied, a sharing violation, a bad name: something may be there.
    {"OtherLookupFailureStopsThePass", {TargetLookup::Failed}, L"cannot be examined"},
    {"FolderIsRefused", {TargetLookup::Found, true, false}, L"is a folder, not a file"},
    {"ReadOnlyFileIsRefused", {TargetLookup::Found, false, true}, L"is read-only"},
    {"ReadOnlyFolderIsRefusedAsAFolder", {TargetLookup::Found, true, true}, L"is a folder, not a file"},
};

class ReplaceTargets : public ::testing::TestWithParam<Case> {};

TEST_P(ReplaceTargets, AreDecidedByWhatTheFileSystemSaid) {
    EXPECT_EQ(ReplaceRefusal(GetParam().facts), std::wstring_view(GetParam().refusal));
}

INSTANTIATE_TEST_SUITE_P(FileOutput, ReplaceTargets, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillfern::testing
