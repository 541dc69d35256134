// The installation sequence end to end against fakes: every road, its boxes
// word for word, the files it leaves and its exit code.
#include <functional>

#include <gtest/gtest.h>

#include "Fakes.h"
#include "installer/MainFunctions.h"

namespace quillfern::testing {
namespace {

// The boxes as the player reads them.
const ShownBox kSuccessBox{L"Quillfern Card Faces Installed!", L"Success!", MessageStyle::Ok};
const ShownBox kErrorBox{L"Unexpected Error!\r\nQuillfernFaces will now exit.", L"Error", MessageStyle::Ok};
const ShownBox kNoFolderBox{L"No folder specified.\r\nQuillfernFaces will now exit.",
                            L"Folder not specified.", MessageStyle::Ok};
const ShownBox kNoFileInfoBox{L"No Embedded File Info!", std::nullopt, MessageStyle::Ok};

ShownBox DefaultMissingBox(const std::wstring& defaultPath) {
    return {L"Default destination folder not found.\r\n"
            L"Make sure Tolvar has already been installed.\r\n"
            L"Select OK to browse for Tolvar\\graphics folder or CANCEL to Exit.",
            defaultPath + L" not found.", MessageStyle::OkCancel};
}
ShownBox FolderMissingBox(const std::wstring& folder) {
    return {L"Destination folder not found.\r\nQuillfernFaces will now exit.", folder + L" not found.",
            MessageStyle::Ok};
}

const std::wstring kAppData = L"C:\\ProgramData";
const std::wstring kGraphics = L"C:\\ProgramData\\Tolvar\\graphics";

payload::Bytes PayloadBytes(std::int32_t id) {
    // Distinct per entry, with the trailing zeros a card strip carries.
    payload::Bytes bytes;
    for (char c : "payload " + std::to_string(id)) bytes.push_back(static_cast<std::byte>(c));
    bytes.push_back(std::byte{0});
    bytes.push_back(std::byte{0});
    return bytes;
}

struct Rig {
    EventLog log;
    FakeWindow window{log};
    FakeDialogue dialogue{log};
    SteppingClock clock{5000, 250};
    CountingPump pump{&log};
    FakeShell shell;
    Latin1CodePage codePage;
    FakeFolderQuery folders;
    FakeResources resources;
    FakeFiles files{log};
    FakeProgramEnd end{log};
    std::vector<std::wstring_view> catalogue{payload::kCatalogue.begin(), payload::kCatalogue.end()};

    Rig() {
        shell.specialFolders[0x23] = "C:\\ProgramData";
        folders.folders = {kGraphics};
        for (std::int32_t id = 101; id <= 105; ++id) resources.resources[id] = PayloadBytes(id);
    }

    Exit Run() {
        Platform platform{window, dialogue, clock, pump, shell, codePage, folders, resources, files, end};
        MainFunctions installer(platform, catalogue);
        return installer.Main();
    }
};

struct Case {
    const char* name;
    std::function<void(Rig&)> arrange;
    Exit exit;
    std::vector<ShownBox> boxes;
    // Each written file and the resource identifier whose bytes it must hold.
    std::vector<std::pair<std::wstring, std::int32_t>> files;
};

std::vector<std::pair<std::wstring, std::int32_t>> FiveFilesIn(const std::wstring& folder) {
    return {{folder + L"\\Quillfern.fac", 101},
            {folder + L"\\Quillfern1.edf", 102},
            {folder + L"\\Quillfern2.edf", 103},
            {folder + L"\\Quillfern3.edf", 104},
            {folder + L"\\Quillfern4.edf", 105}};
}

void DefaultFolderMissing(Rig& rig) { rig.folders.folders.clear(); }

const Case kRoads[] = {
    {"DefaultFolderPresentInstallsFiveFiles", [](Rig&) {}, Exit::Success, {kSuccessBox},
     FiveFilesIn(kGraphics)},
    {"EmptyCatalogueStopsBeforeAnything", [](Rig& rig) { rig.catalogue = {L""}; }, Exit::CatalogueEmpty,
     {kNoFileInfoBox}, {}},
    {"CancelOnDefaultFolderQuestion",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.dialogue.answers = {MessageResult::Cancel};
     },
     Exit::UserDeclined, {DefaultMissingBox(kGraphics)}, {}},
    {"BrowserCancelled", DefaultFolderMissing, Exit::NoFolderChosen,
     {DefaultMissingBox(kGraphics), kNoFolderBox}, {}},
    {"BrowserItemWithoutPath",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.shell.browseChoice = std::optional<std::string>{};
     },
     Exit::NoFolderChosen, {DefaultMissingBox(kGraphics), kNoFolderBox}, {}},
    {"ChosenFolderStillMissing",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.shell.browseChoice = std::optional<std::string>{"D:\\Elsewhere"};
     },
     Exit::FolderMissing, {DefaultMissingBox(kGraphics), FolderMissingBox(L"D:\\Elsewhere")}, {}},
    {"ChosenFolderUsedUnchanged",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.shell.browseChoice = std::optional<std::string>{"D:\\Games\\Cards"};
         rig.folders.folders = {L"D:\\Games\\Cards"};
     },
     Exit::Success, {DefaultMissingBox(kGraphics), kSuccessBox}, FiveFilesIn(L"D:\\Games\\Cards")},
    {"DriveRootChosenKeepsItsSeparator",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.shell.browseChoice = std::optional<std::string>{"E:\\"};
         rig.folders.folders = {L"E:\\"};
     },
     Exit::Success, {DefaultMissingBox(kGraphics), kSuccessBox}, FiveFilesIn(L"E:\\")},
    {"SpecialFolderLookupFails",
     [](Rig& rig) {
         rig.shell.specialFolders.clear();
         DefaultFolderMissing(rig);
         rig.dialogue.answers = {MessageResult::Cancel};
     },
     Exit::UserDeclined, {DefaultMissingBox(L"\\Tolvar\\graphics")}, {}},
    {"SpecialFolderIsDriveRoot",
     [](Rig& rig) {
         rig.shell.specialFolders[0x23] = "C:\\";
         rig.folders.folders = {L"C:\\Tolvar\\graphics"};
     },
     Exit::Success, {kSuccessBox}, FiveFilesIn(L"C:\\Tolvar\\graphics")},
    {"ThirdFileRefused",
     [](Rig& rig) { rig.files.refuse = {kGraphics + L"\\Quillfern2.edf"}; },
     Exit::WriteFailure, {kErrorBox},
     {{kGraphics + L"\\Quillfern.fac", 101}, {kGraphics + L"\\Quillfern1.edf", 102}}},
    {"LaterPayloadMissing", [](Rig& rig) { rig.resources.resources.erase(103); }, Exit::WriteFailure,
     {kErrorBox}, {{kGraphics + L"\\Quillfern.fac", 101}, {kGraphics + L"\\Quillfern1.edf", 102}}},
    {"FirstPayloadMissingIsUnhandled", [](Rig& rig) { rig.resources.resources.erase(101); },
     Exit::UnhandledFailure, {}, {}},
    {"FolderQueryCannotBeCreatedIsUnhandled", [](Rig& rig) { rig.folders.failToCreate = true; },
     Exit::UnhandledFailure, {}, {}},
    {"WindowCannotBeCreatedIsUnhandled", [](Rig& rig) { rig.window.failToCreate = true; },
     Exit::UnhandledFailure, {}, {}},
    // A folder whose ANSI path best-fits to another, existing one counts as missing.
    {"LookAlikeOfTheChosenFolderIsMissing",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.shell.browseChoice = std::optional<std::string>{"D:\\Tolvar Omega"};
         rig.shell.ownPaths["D:\\Tolvar Omega"] = L"D:\\Tolvar \u03A9mega";
         rig.folders.folders = {L"D:\\Tolvar Omega"};
     },
     Exit::FolderMissing, {DefaultMissingBox(kGraphics), FolderMissingBox(L"D:\\Tolvar Omega")}, {}},
    {"LookAlikeOfTheDefaultFolderIsMissing",
     [](Rig& rig) {
         rig.shell.specialFolders[0x23] = "C:\\Data\\..\\ProgramData";
         rig.shell.ownPaths["C:\\Data\\..\\ProgramData"] = L"C:\\Data\uFF3C..\uFF3CProgramData";
         rig.folders.folders = {L"C:\\Data\\..\\ProgramData\\Tolvar\\graphics", kGraphics};
         rig.dialogue.answers = {MessageResult::Cancel};
     },
     Exit::UserDeclined, {DefaultMissingBox(L"C:\\Data\\..\\ProgramData\\Tolvar\\graphics")}, {}},
    {"LookAlikeDefaultThenARealChoice",
     [](Rig& rig) {
         rig.shell.specialFolders[0x23] = "C:\\ProgramDatO";
         rig.shell.ownPaths["C:\\ProgramDatO"] = L"C:\\ProgramDat\u03A9";
         rig.shell.browseChoice = std::optional<std::string>{"D:\\Games"};
         rig.folders.folders = {L"C:\\ProgramDatO\\Tolvar\\graphics", L"D:\\Games"};
     },
     Exit::Success, {DefaultMissingBox(L"C:\\ProgramDatO\\Tolvar\\graphics"), kSuccessBox},
     FiveFilesIn(L"D:\\Games")},
    // After files are written, a final box that fails must not become the
    // report that says none was.
    {"SuccessBoxNotShownGoesToTheErrorBox",
     [](Rig& rig) { rig.dialogue.faults = {{L"Success!", BoxFault::NotShown}}; }, Exit::WriteFailure,
     {kErrorBox}, FiveFilesIn(kGraphics)},
    {"NeitherFinalBoxShows",
     [](Rig& rig) {
         rig.dialogue.faults = {{L"Success!", BoxFault::NotShown}, {L"Error", BoxFault::NotShown}};
     },
     Exit::WriteFailure, {}, FiveFilesIn(kGraphics)},
    {"ErrorBoxOutOfMemoryAfterARefusedFile",
     [](Rig& rig) {
         rig.files.refuse = {kGraphics + L"\\Quillfern2.edf"};
         rig.dialogue.faults = {{L"Error", BoxFault::OutOfMemory}};
     },
     Exit::WriteFailure, {},
     {{kGraphics + L"\\Quillfern.fac", 101}, {kGraphics + L"\\Quillfern1.edf", 102}}},
};

class Roads : public ::testing::TestWithParam<Case> {};

TEST_P(Roads, EndWithTheirBoxesFilesAndExitCode) {
    const Case& road = GetParam();
    Rig rig;
    road.arrange(rig);

    EXPECT_EQ(rig.Run(), road.exit);
    EXPECT_EQ(rig.dialogue.boxes, road.boxes);

    std::map<std::wstring, payload::Bytes> expected;
    for (const auto& [path, id] : road.files) expected[path] = PayloadBytes(id);
    EXPECT_EQ(rig.files.files, expected);

    EXPECT_EQ(rig.dialogue.unhandled.size(), road.exit == Exit::UnhandledFailure ? 1u : 0u);

    // The program ends once, with the road's exit code, and nothing runs after it.
    EXPECT_EQ(rig.end.exits, std::vector<Exit>{road.exit});
    EXPECT_EQ(rig.end.eventsBefore, rig.log.size());
}

INSTANTIATE_TEST_SUITE_P(Sequence, Roads, ::testing::ValuesIn(kRoads),
                         [](const auto& info) { return std::string(info.param.name); });

struct EndCase {
    const char* name;
    std::function<void(Rig&)> arrange;
    const char* finalEvent;
};

const EndCase kEnds[] = {
    {"AfterTheSuccessBox", [](Rig&) {}, "box Quillfern Card Faces Installed!"},
    {"AfterCancelOnTheQuestion",
     [](Rig& rig) {
         DefaultFolderMissing(rig);
         rig.dialogue.answers = {MessageResult::Cancel};
     },
     "box Default destination folder not found.\r\nMake sure Tolvar has already been installed.\r\n"
     "Select OK to browse for Tolvar\\graphics folder or CANCEL to Exit."},
    {"AfterTheErrorBox", [](Rig& rig) { rig.resources.resources.erase(104); },
     "box Unexpected Error!\r\nQuillfernFaces will now exit."},
    {"AfterAnErrorBoxThatFailed",
     [](Rig& rig) {
         rig.resources.resources.erase(104);
         rig.dialogue.faults = {{L"Error", BoxFault::NotShown}};
     },
     "box failed Error"},
    {"AfterTheUnhandledFailureReport", [](Rig& rig) { rig.window.failToCreate = true; },
     "unhandled failure"},
};

class ProgramEnds : public ::testing::TestWithParam<EndCase> {};

// The platform's end comes straight after the final box: the sequence tears
// nothing down first, and nothing of the sequence runs after it.
TEST_P(ProgramEnds, RightAfterTheFinalBox) {
    Rig rig;
    GetParam().arrange(rig);
    rig.Run();
    ASSERT_EQ(rig.end.exits.size(), 1u);
    ASSERT_GE(rig.end.eventsBefore, 1u);
    EXPECT_EQ(rig.log[rig.end.eventsBefore - 1], GetParam().finalEvent);
    EXPECT_EQ(rig.end.eventsBefore, rig.log.size());
}

INSTANTIATE_TEST_SUITE_P(Sequence, ProgramEnds, ::testing::ValuesIn(kEnds),
                         [](const auto& info) { return std::string(info.param.name); });

// An ANSI code page in which byte 0x80 is the euro sign, unlike Latin-1.
class EuroCodePage final : public APIs::AnsiCodePage {
public:
    std::string ToAnsi(std::wstring_view text) override { return latin1_.ToAnsi(text); }
    std::wstring FromAnsi(std::string_view bytes) override {
        std::wstring text = latin1_.FromAnsi(bytes);
        for (wchar_t& c : text) {
            if (c == 0x80) c = L'\u20AC';
        }
        return text;
    }

private:
    Latin1CodePage latin1_;
};

TEST(Sequence, LibraryFailureTextIsConvertedFromTheAnsiCodePage) {
    Rig rig;
    rig.window.libraryFailure = "costs 5 \x80 and \xE9";
    EuroCodePage codePage;
    Platform platform{rig.window, rig.dialogue,  rig.clock, rig.pump, rig.shell,
                      codePage,   rig.folders,   rig.resources, rig.files, rig.end};
    MainFunctions installer(platform, rig.catalogue);
    EXPECT_EQ(installer.Main(), Exit::UnhandledFailure);
    EXPECT_EQ(rig.dialogue.unhandled, std::vector<std::wstring>{L"costs 5 \u20AC and \u00E9"});
}

TEST(Sequence, ExitCodesAreDistinctAndSuccessIsZero) {
    EXPECT_EQ(ExitCode(Exit::Success), 0);
    const std::set<int> codes{ExitCode(Exit::Success),        ExitCode(Exit::CatalogueEmpty),
                              ExitCode(Exit::UserDeclined),   ExitCode(Exit::NoFolderChosen),
                              ExitCode(Exit::FolderMissing),  ExitCode(Exit::WriteFailure),
                              ExitCode(Exit::UnhandledFailure)};
    EXPECT_EQ(codes.size(), 7u);
}

TEST(Sequence, HappyPathRunsItsStepsInOrder) {
    Rig rig;
    ASSERT_EQ(rig.Run(), Exit::Success);
    const std::string dest = "C:\\ProgramData\\Tolvar\\graphics\\";
    const EventLog expected{
        "window created",
        "caption Quillfern Card Faces Installation (hidden)",
        "window shown",
        "pumping",
        "write " + dest + "Quillfern.fac",
        "write " + dest + "Quillfern1.edf",
        "write " + dest + "Quillfern2.edf",
        "write " + dest + "Quillfern3.edf",
        "write " + dest + "Quillfern4.edf",
        "beep",
        "box Quillfern Card Faces Installed!",
    };
    EXPECT_EQ(rig.log, expected);
    // The default folder is tested again before writing, even when it was there.
    EXPECT_EQ(rig.folders.asked, (std::vector<std::wstring>{kGraphics, kGraphics}));
    // 2000 ms at 250 ms a reading: eight pumps, the last at the reading that reaches it.
    EXPECT_EQ(rig.pump.pumps, 8);
}

TEST(Sequence, EmptyCatalogueShowsItsBoxBeforeTheWindowIsVisible) {
    Rig rig;
    rig.catalogue = {L""};
    rig.Run();
    EXPECT_EQ(rig.log, (EventLog{"window created", "box No Embedded File Info!"}));
}

TEST(Sequence, BrowserIsOwnedByTheWindowOrByNobodyOnceItIsClosed) {
    for (const bool closed : {false, true}) {
        Rig rig;
        DefaultFolderMissing(rig);
        rig.window.closedByPlayer = closed;
        rig.Run();
        ASSERT_TRUE(rig.shell.browseOwner.has_value());
        EXPECT_EQ(*rig.shell.browseOwner, closed ? kNoWindow : FakeWindow::kHandle);
    }
}

TEST(Sequence, BrowserItemListsAreAllReleased) {
    Rig rig;
    DefaultFolderMissing(rig);
    rig.shell.browseChoice = std::optional<std::string>{"D:\\Games"};
    rig.folders.folders = {L"D:\\Games"};
    ASSERT_EQ(rig.Run(), Exit::Success);
    EXPECT_EQ(rig.shell.freed.size(), static_cast<std::size_t>(rig.shell.listsHandedOut));
}

TEST(Sequence, UnhandledFailureNamesWhatFailed) {
    Rig rig;
    rig.resources.resources.erase(101);
    rig.Run();
    ASSERT_EQ(rig.dialogue.unhandled.size(), 1u);
    EXPECT_NE(rig.dialogue.unhandled[0].find(L"CUSTOM 101"), std::wstring::npos);
    EXPECT_TRUE(rig.files.files.empty());
}

TEST(Sequence, SuccessBeepsJustBeforeTheSuccessBox) {
    Rig rig;
    rig.Run();
    ASSERT_GE(rig.log.size(), 2u);
    EXPECT_EQ(rig.log[rig.log.size() - 2], "beep");
}

// A deck installs entries 0 to 7; an empty entry in range is not skipped.
TEST(Sequence, DeckRunsTheWholeTableAndFailsOnAnEmptyEntry) {
    Rig rig;
    rig.catalogue = {L"Set.dek", L"Set1.edf", L"Set2.edf"};
    for (std::int32_t id = 101; id <= 108; ++id) rig.resources.resources[id] = PayloadBytes(id);
    EXPECT_EQ(rig.Run(), Exit::WriteFailure);
    EXPECT_EQ(rig.dialogue.boxes, std::vector<ShownBox>{kErrorBox});
    EXPECT_EQ(rig.files.files.size(), 3u);
    EXPECT_EQ(rig.log.back(), "box Unexpected Error!\r\nQuillfernFaces will now exit.");
    EXPECT_NE(std::find(rig.log.begin(), rig.log.end(), "write " + Narrow(kGraphics) + "\\"), rig.log.end());
}

TEST(Sequence, UnknownKindInstallsOnlyTheFirstEntry) {
    Rig rig;
    rig.catalogue = {L"Quillfern.FAC", L"Quillfern1.edf"};
    EXPECT_EQ(rig.Run(), Exit::Success);
    EXPECT_EQ(rig.files.files.size(), 1u);
    EXPECT_EQ(rig.files.files.count(kGraphics + L"\\Quillfern.FAC"), 1u);
}

struct KindCase {
    const char* name;
    const wchar_t* firstName;
    AddOnKind kind;
};

const KindCase kKinds[] = {
    {"FaceSet", L"Quillfern.fac", AddOnKind::FaceSet},
    {"Deck", L"Quillfern.dek", AddOnKind::Deck},
    {"UpperCaseFaceSetIsNone", L"Quillfern.FAC", AddOnKind::None},
    {"UpperCaseDeckIsNone", L"Quillfern.DEK", AddOnKind::None},
    {"OtherExtension", L"Quillfern.edf", AddOnKind::None},
    {"ExactlyThreeCharacters", L"fac", AddOnKind::FaceSet},
    {"ShorterNameComparedWhole", L"ac", AddOnKind::None},
    {"TrailingBlank", L"Quillfern.fac ", AddOnKind::None},
    {"NoDotNeeded", L"Quillfernfac", AddOnKind::FaceSet},
};

class Kinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(Kinds, FollowTheLastThreeCharacters) {
    EXPECT_EQ(SetKind(GetParam().firstName), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(SetKind, Kinds, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Sequence, KindDecidesLastFileIndex) {
    struct Row {
        std::vector<std::wstring_view> catalogue;
        std::int32_t lastIndex;
    };
    for (const Row& row : {Row{{L"a.fac"}, 4}, Row{{L"a.dek"}, 7}, Row{{L"a.FAC"}, 0}}) {
        Rig rig;
        rig.catalogue = row.catalogue;
        rig.shell.specialFolders.clear();  // stop at the first question
        rig.folders.folders.clear();
        rig.dialogue.answers = {MessageResult::Cancel};
        Platform platform{rig.window,   rig.dialogue, rig.clock,     rig.pump,  rig.shell,
                          rig.codePage, rig.folders,  rig.resources, rig.files, rig.end};
        MainFunctions installer(platform, rig.catalogue);
        installer.Main();
        EXPECT_EQ(installer.LastFileIndex, row.lastIndex) << Narrow(row.catalogue[0]);
        EXPECT_TRUE(installer.InstallFiles[5].empty());
    }
}

}  // namespace
}  // namespace quillfern::testing
