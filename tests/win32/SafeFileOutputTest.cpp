// File output against the real file system: create, replace, refuse, leave no trace.
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "common/Failure.h"
#include "installer/win32/WinPlatform.h"
#include "win32/Handles.h"

namespace quillfern::testing {
namespace {

std::vector<std::byte> Bytes(const std::string& text) {
    std::vector<std::byte> bytes;
    for (char c : text) bytes.push_back(static_cast<std::byte>(c));
    return bytes;
}

class SafeFileOutputTest : public ::testing::Test {
protected:
    TestFolder folder;
    win32::SafeFileOutput output;
};

TEST_F(SafeFileOutputTest, CreatesAMissingFileAndLeavesNothingElse) {
    const std::wstring target = folder.File(L"Quillfern.fac");
    output.WriteWholeFile(target, Bytes(std::string("new\0\0", 5)));
    EXPECT_EQ(ReadWholeFile(target), Bytes(std::string("new\0\0", 5)));
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Quillfern.fac"});
}

TEST_F(SafeFileOutputTest, ReplacesLongerAndShorterFilesExactly) {
    for (const std::string& old : {std::string(10000, 'o'), std::string("o")}) {
        const std::wstring target = folder.File(L"Quillfern1.edf");
        WriteBytes(target, old);
        output.WriteWholeFile(target, Bytes("payload"));
        EXPECT_EQ(ReadWholeFile(target), Bytes("payload")) << "old size " << old.size();
    }
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Quillfern1.edf"});
}

TEST_F(SafeFileOutputTest, WritesLargePayloadsWhole) {
    std::string big(3543392, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7919 % 251);
    const std::wstring target = folder.File(L"Quillfern4.edf");
    output.WriteWholeFile(target, Bytes(big));
    EXPECT_EQ(ReadWholeFile(target), Bytes(big));
}

// Wine running as root lets CreateFile and MoveFileEx replace a read-only file
// where Windows refuses; the output must refuse by itself on both.
TEST_F(SafeFileOutputTest, RefusesAReadOnlyFileAndLeavesItUntouched) {
    const std::wstring target = folder.File(L"Quillfern2.edf");
    WriteBytes(target, "keep me");
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(output.WriteWholeFile(target, Bytes("payload")), Failure);
    EXPECT_EQ(ReadWholeFile(target), Bytes("keep me"));
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Quillfern2.edf"});
}

TEST_F(SafeFileOutputTest, RefusesAFileHeldOpenWithoutSharing) {
    const std::wstring target = folder.File(L"Quillfern3.edf");
    WriteBytes(target, "in use");
    {
        const win32::UniqueFile held(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_THROW(output.WriteWholeFile(target, Bytes("payload")), Failure);
    }
    EXPECT_EQ(ReadWholeFile(target), Bytes("in use"));
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Quillfern3.edf"});
}

TEST_F(SafeFileOutputTest, PathThatNamesNoFileFails) {
    EXPECT_THROW(output.WriteWholeFile(folder.Path() + L"\\", Bytes("payload")), Failure);
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SafeFileOutputTest, FolderInPlaceOfTheFileFails) {
    const std::wstring target = folder.File(L"Quillfern.fac");
    ASSERT_TRUE(::CreateDirectoryW(target.c_str(), nullptr));
    EXPECT_THROW(output.WriteWholeFile(target, Bytes("payload")), Failure);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"Quillfern.fac"});
    ::RemoveDirectoryW(target.c_str());
}

// Only "not found" means nothing is there; a name the file system rejects
// might hide a file, so the pass stops before anything is created.
TEST_F(SafeFileOutputTest, TargetThatCannotBeExaminedFailsBeforeAnythingIsCreated) {
    try {
        output.WriteWholeFile(folder.File(L"Quill<fern.fac"), Bytes("payload"));
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.Message().find(L"cannot be examined"), std::wstring::npos)
            << std::string(failure.what());
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SafeFileOutputTest, MissingFolderFails) {
    EXPECT_THROW(output.WriteWholeFile(folder.Path() + L"\\nowhere\\Quillfern.fac", Bytes("payload")),
                 Failure);
}

}  // namespace
}  // namespace quillfern::testing
