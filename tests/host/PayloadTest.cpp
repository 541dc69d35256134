// Fetching payload entries: exact bytes by type name and integer identifier.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "payload/Catalogue.h"
#include "payload/FetchPayload.h"

namespace quillfern::testing {
namespace {

TEST(FetchPayload, CopiesEveryByteOfTheResourceIncludingTrailingZeros) {
    FakeResources resources;
    payload::Bytes strip{std::byte{'B'}, std::byte{'M'}, std::byte{7}, std::byte{0}, std::byte{0}};
    resources.resources[102] = strip;

    const payload::Bytes fetched = payload::FetchPayload(1, resources);
    EXPECT_EQ(fetched, strip);
    // A fresh copy: changing the source later does not change what was fetched.
    resources.resources[102][0] = std::byte{'X'};
    EXPECT_EQ(fetched[0], std::byte{'B'});
    EXPECT_EQ(resources.asked, (std::vector<std::pair<std::wstring, std::int32_t>>{{L"CUSTOM", 102}}));
}

TEST(FetchPayload, MissingResourceFailsNamingIt) {
    FakeResources resources;
    for (std::int32_t index : {0, 5, 7}) {
        try {
            payload::FetchPayload(index, resources);
            ADD_FAILURE() << "no failure for index " << index;
        } catch (const Failure& failure) {
            EXPECT_NE(failure.Message().find(L"CUSTOM " + std::to_wstring(101 + index)), std::wstring::npos);
        }
    }
}

TEST(FetchPayload, EmptyResourceIsFetchedEmpty) {
    FakeResources resources;
    resources.resources[101] = {};
    EXPECT_TRUE(payload::FetchPayload(0, resources).empty());
}

TEST(Catalogue, NamesAndIdentifiers) {
    EXPECT_EQ(payload::PayloadId(0), 101);
    EXPECT_EQ(payload::PayloadId(7), 108);
    EXPECT_EQ(payload::kCatalogue[0], L"Quillfern.fac");
    EXPECT_EQ(payload::kCatalogue[4], L"Quillfern4.edf");
    EXPECT_EQ(payload::kApplicationTitle, L"QuillfernFaces");
}

}  // namespace
}  // namespace quillfern::testing
