// The folder services' rules: the doubled separator, the path buffer and the
// release of every item list, over a fake shell.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "services/FolderServices.h"

namespace quillfern::testing {
namespace {

struct IsFolderCase {
    const char* name;
    const wchar_t* path;
    bool asksFileSystem;
    bool expected;
};

// The fake file system knows these folders.
const std::set<std::wstring> kFolders{L"C:\\Games\\Tolvar", L"\\\\server\\share", L"", L"C"};

const IsFolderCase kIsFolderCases[] = {
    {"ExistingFolder", L"C:\\Games\\Tolvar", true, true},
    {"MissingFolder", L"C:\\Games\\Nothing", true, false},
    {"DoubledBetweenNames", L"C:\\Games\\\\Tolvar", false, false},
    {"DoubledAtTheEnd", L"C:\\Games\\Tolvar\\\\", false, false},
    {"DoubledFromSecondCharacter", L"C\\\\Games", false, false},
    {"ThreeLeadingBackslashes", L"\\\\\\server\\share", false, false},
    {"UncLeadingPairGoesToTheFileSystem", L"\\\\server\\share", true, true},
    {"UncUnknownShare", L"\\\\server\\other", true, false},
    {"EmptyGoesToTheFileSystem", L"", true, true},
    {"OneCharacterGoesToTheFileSystem", L"C", true, true},
    {"SingleBackslash", L"\\", true, false},
};

class IsFolderCases : public ::testing::TestWithParam<IsFolderCase> {};

TEST_P(IsFolderCases, FollowTheDoubledSeparatorRule) {
    const IsFolderCase& c = GetParam();
    FakeFolderQuery query;
    query.folders = kFolders;
    EXPECT_EQ(APIs::IsFolder(c.path, query), c.expected);
    if (c.asksFileSystem) {
        EXPECT_EQ(query.asked, std::vector<std::wstring>{c.path});  // passed unchanged
    } else {
        EXPECT_TRUE(query.asked.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(IsFolder, IsFolderCases, ::testing::ValuesIn(kIsFolderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IsFolder, FailureOfTheQueryObjectPassesToTheCaller) {
    FakeFolderQuery query;
    query.failToCreate = true;
    EXPECT_THROW(APIs::IsFolder(L"C:\\Games", query), Failure);
}

class SpecialFolder : public ::testing::Test {
protected:
    FakeShell shell;
    Latin1CodePage codePage;
};

TEST_F(SpecialFolder, KnownFolderGivesItsPathWithNothingAfterIt) {
    shell.specialFolders[0x23] = "C:\\ProgramData";
    const std::wstring path = APIs::GetSpecialFolderPath(0x23, shell, codePage);
    EXPECT_EQ(path, L"C:\\ProgramData");
    EXPECT_EQ(path.find(L'\0'), std::wstring::npos);
    EXPECT_EQ(shell.freed.size(), 1u);
}

TEST_F(SpecialFolder, UnknownCsidlGivesEmptyTextAndNothingToRelease) {
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x7777, shell, codePage), L"");
    EXPECT_EQ(shell.listsHandedOut, 0);
    EXPECT_TRUE(shell.freed.empty());
}

TEST_F(SpecialFolder, VirtualFolderGivesEmptyTextAndStillReleasesItsList) {
    shell.specialFolders[0x11] = std::nullopt;  // like CSIDL_DRIVES: no file-system path
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x11, shell, codePage), L"");
    EXPECT_EQ(shell.freed.size(), 1u);
}

TEST_F(SpecialFolder, PathOf259AnsiBytesComesBackWhole) {
    std::string longest = "C:\\";
    longest += std::string(259 - longest.size(), 'x');
    shell.specialFolders[0x23] = longest;
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x23, shell, codePage), std::wstring(longest.begin(), longest.end()));
}

TEST_F(SpecialFolder, AnsiBytesAreConvertedThroughTheCodePage) {
    shell.specialFolders[0x23] = "C:\\Donn\xE9" "es";
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x23, shell, codePage), L"C:\\Donn\u00E9es");
}

TEST_F(SpecialFolder, TrailingSeparatorIsKept) {
    shell.specialFolders[0x23] = "C:\\";
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x23, shell, codePage), L"C:\\");
}

class Browser : public SpecialFolder {};

TEST_F(Browser, CancelGivesEmptyTextAndNothingToRelease) {
    EXPECT_EQ(APIs::BrowseForFolder(0x5150, shell, codePage), L"");
    EXPECT_TRUE(shell.freed.empty());
}

TEST_F(Browser, AsksWithThePromptFlagsAndOwner) {
    shell.browseChoice = std::optional<std::string>{"D:\\Games"};
    EXPECT_EQ(APIs::BrowseForFolder(0x5150, shell, codePage), L"D:\\Games");
    EXPECT_EQ(shell.browsePrompt, "C:\\");
    EXPECT_EQ(shell.browseFlags, 1u);
    EXPECT_EQ(shell.browseOwner, WindowHandle{0x5150});
    EXPECT_EQ(shell.freed.size(), 1u);
}

TEST_F(Browser, DriveRootComesBackWithItsSeparator) {
    shell.browseChoice = std::optional<std::string>{"E:\\"};
    EXPECT_EQ(APIs::BrowseForFolder(0, shell, codePage), L"E:\\");
}

TEST_F(Browser, ItemWithoutPathGivesEmptyTextAndIsReleased) {
    shell.browseChoice = std::optional<std::string>{};
    EXPECT_EQ(APIs::BrowseForFolder(0, shell, codePage), L"");
    EXPECT_EQ(shell.freed.size(), 1u);
}

TEST_F(Browser, FailedLookupGivesEmptyTextWhateverItWrote) {
    shell.browseChoice = std::optional<std::string>{};
    shell.failedLookupWrites = "C:\\Windows";
    bool lookAlike = true;
    EXPECT_EQ(APIs::BrowseForFolder(0, shell, codePage, &lookAlike), L"");
    EXPECT_FALSE(lookAlike);
    EXPECT_EQ(shell.freed.size(), 1u);
}

// The ANSI scheme's path against the shell's own wide path for the same item.
struct LookAlikeCase {
    const char* name;
    const char* ansiPath;
    // The shell's own wide path where the code page changed it; nullopt: it
    // has none. Absent: the ANSI path read as Latin-1, the same folder.
    std::optional<std::optional<std::wstring>> ownPath;
    bool lookAlike;
};

const LookAlikeCase kLookAlikeCases[] = {
    {"PlainPath", "C:\\ProgramData", std::nullopt, false},
    {"LetterTheCodePageHolds", "C:\\Donn\xE9" "es", std::nullopt, false},
    {"DriveRoot", "C:\\", std::nullopt, false},
    {"OmegaBestFitToO", "C:\\Tolvar Omega", std::optional<std::wstring>{L"C:\\Tolvar \u03A9mega"}, true},
    {"FullwidthBackslashesBecomeSeparators", "C:\\a\\..\\Windows",
     std::optional<std::wstring>{L"C:\\a\uFF3C..\uFF3CWindows"}, true},
    {"YenSignBecomesASeparatorUnderCodePage932", "C:\\Games\\x",
     std::optional<std::wstring>{L"C:\\Games\u00A5x"}, true},
    {"DifferentOnlyInCase", "C:\\programdata", std::optional<std::wstring>{L"C:\\ProgramData"}, true},
    {"NoWidePath", "C:\\ProgramData", std::optional<std::wstring>{}, true},
};

class LookAlikes : public ::testing::TestWithParam<LookAlikeCase> {};

TEST_P(LookAlikes, AreToldApartOnBothRoadsAndTheAnsiPathIsKept) {
    const LookAlikeCase& c = GetParam();
    const std::string ansi = c.ansiPath;
    const std::wstring shown = Latin1CodePage().FromAnsi(ansi);
    FakeShell shell;
    Latin1CodePage codePage;
    shell.specialFolders[0x23] = ansi;
    shell.browseChoice = std::optional<std::string>{ansi};
    if (c.ownPath) shell.ownPaths[ansi] = *c.ownPath;

    bool lookAlike = !c.lookAlike;
    EXPECT_EQ(APIs::GetSpecialFolderPath(0x23, shell, codePage, &lookAlike), shown);
    EXPECT_EQ(lookAlike, c.lookAlike) << "special folder";
    lookAlike = !c.lookAlike;
    EXPECT_EQ(APIs::BrowseForFolder(0, shell, codePage, &lookAlike), shown);
    EXPECT_EQ(lookAlike, c.lookAlike) << "browser";
    EXPECT_EQ(shell.freed.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(FolderServices, LookAlikes, ::testing::ValuesIn(kLookAlikeCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillfern::testing
