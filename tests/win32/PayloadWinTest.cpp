// FetchPayload over this module's own resource section, which carries the
// same resource script as the installer.
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "common/Failure.h"
#include "payload/Catalogue.h"
#include "payload/FetchPayload.h"
#include "payload/win32/ModuleResources.h"

namespace quillfern::testing {
namespace {

struct Entry {
    const char* name;
    std::int32_t index;
    const wchar_t* file;
    std::size_t size;
};

const Entry kEntries[] = {
    {"Preview", 0, L"Quillfern.fac", 40879},
    {"Strip1", 1, L"Quillfern1.edf", 993656},
    {"Strip2", 2, L"Quillfern2.edf", 1535672},
    {"Strip3", 3, L"Quillfern3.edf", 2210024},
    {"Strip4", 4, L"Quillfern4.edf", 3543392},
};

class PayloadEntries : public ::testing::TestWithParam<Entry> {};

TEST_P(PayloadEntries, AreTheCommittedFilesByteForByte) {
    const Entry& entry = GetParam();
    win32::ModuleResources resources;
    const payload::Bytes bytes = payload::FetchPayload(entry.index, resources);
    EXPECT_EQ(bytes.size(), entry.size);
    EXPECT_EQ(bytes, ReadWholeFile(std::wstring(QF_RESOURCES_DIR) + L"/" + entry.file));
}

INSTANTIATE_TEST_SUITE_P(FetchPayload, PayloadEntries, ::testing::ValuesIn(kEntries),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FetchPayload, StripsCarryTwoZeroBytesPastTheirHeaderSize) {
    win32::ModuleResources resources;
    for (std::int32_t index = 1; index <= 4; ++index) {
        const payload::Bytes bytes = payload::FetchPayload(index, resources);
        ASSERT_GT(bytes.size(), 6u);
        const std::uint32_t headerSize = std::to_integer<std::uint32_t>(bytes[2]) |
                                         std::to_integer<std::uint32_t>(bytes[3]) << 8 |
                                         std::to_integer<std::uint32_t>(bytes[4]) << 16 |
                                         std::to_integer<std::uint32_t>(bytes[5]) << 24;
        EXPECT_EQ(bytes.size(), headerSize + 2u) << "index " << index;
        EXPECT_EQ(bytes[bytes.size() - 1], std::byte{0});
        EXPECT_EQ(bytes[bytes.size() - 2], std::byte{0});
    }
}

TEST(FetchPayload, EntriesPastTheCatalogueHaveNoResource) {
    win32::ModuleResources resources;
    for (std::int32_t index = 5; index <= 7; ++index) {
        EXPECT_THROW(payload::FetchPayload(index, resources), Failure) << "index " << index;
    }
}

}  // namespace
}  // namespace quillfern::testing
