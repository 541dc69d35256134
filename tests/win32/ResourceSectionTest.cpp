// The installer's resource section holds the payload, the icon and the version
// block, in the stated languages, and nothing else.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "win32/Handles.h"

namespace quillfern::testing {
namespace {

using ResourceKey = std::tuple<std::wstring, std::wstring, WORD>;  // type, name, language

std::wstring NameOf(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) return L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
    return name;
}

// Resource enumeration callbacks must be stdcall, which lambdas are not.
struct Walk {
    std::set<ResourceKey> keys;
    std::wstring type;
    std::wstring name;
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    auto& walk = *reinterpret_cast<Walk*>(param);
    walk.keys.emplace(walk.type, walk.name, language);
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    reinterpret_cast<Walk*>(param)->name = NameOf(name);
    ::EnumResourceLanguagesW(module, type, name, OnLanguage, param);
    return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR param) {
    reinterpret_cast<Walk*>(param)->type = NameOf(type);
    ::EnumResourceNamesW(module, type, OnName, param);
    return TRUE;
}

class InstallerImage : public ::testing::Test {
protected:
    void SetUp() override {
        module_.Reset(::LoadLibraryExW(QF_INSTALLER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module_) << "cannot open the installer exe";
    }

    std::set<ResourceKey> Enumerate() {
        Walk walk{{}, {}, {}};
        ::EnumResourceTypesW(module_.Get(), OnType, reinterpret_cast<LONG_PTR>(&walk));
        return walk.keys;
    }

    std::vector<std::uint8_t> Data(LPCWSTR type, LPCWSTR name) {
        HRSRC info = ::FindResourceW(module_.Get(), name, type);
        if (!info) return {};
        const auto* bytes = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module_.Get(), info)));
        return std::vector<std::uint8_t>(bytes, bytes + ::SizeofResource(module_.Get(), info));
    }

    win32::UniqueModule module_;
};

TEST_F(InstallerImage, HoldsExactlyThePayloadIconAndVersion) {
    const std::set<ResourceKey> expected{
        {L"CUSTOM", L"#101", 1033}, {L"CUSTOM", L"#102", 1033}, {L"CUSTOM", L"#103", 1033},
        {L"CUSTOM", L"#104", 1033}, {L"CUSTOM", L"#105", 1033}, {L"#3", L"#30001", 0},
        {L"#14", L"#1", 0},         {L"#16", L"#1", 1033},
    };
    EXPECT_EQ(Enumerate(), expected);
}

TEST_F(InstallerImage, IconGroupNamesTheOneImage) {
    const std::vector<std::uint8_t> group = Data(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    ASSERT_EQ(group.size(), 6u + 14u);  // GRPICONDIR with one entry
    EXPECT_EQ(group[4], 1);             // one image
    EXPECT_EQ(group[6], 32);            // width
    EXPECT_EQ(group[7], 32);            // height
    EXPECT_EQ(group[8], 0);             // colour count
    EXPECT_EQ(group[10] | group[11] << 8, 1);    // planes
    EXPECT_EQ(group[12] | group[13] << 8, 24);   // bits per pixel
    EXPECT_EQ(group[14] | group[15] << 8 | group[16] << 16 | group[17] << 24, 3240);
    EXPECT_EQ(group[18] | group[19] << 8, 30001);
    EXPECT_EQ(Data(RT_ICON, MAKEINTRESOURCEW(30001)).size(), 3240u);
}

// One node of a VS_VERSIONINFO tree.
struct VersionBlock {
    std::wstring key;
    std::vector<std::uint8_t> value;
    std::wstring text;  // for text values
    std::vector<VersionBlock> children;
};

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

VersionBlock ParseBlock(const std::uint8_t* base, std::size_t offset) {
    auto word = [&](std::size_t at) { return static_cast<std::size_t>(base[at] | base[at + 1] << 8); };
    const std::size_t length = word(offset);
    const std::size_t valueLength = word(offset + 2);
    const bool isText = word(offset + 4) == 1;
    VersionBlock block;
    std::size_t at = offset + 6;
    while (word(at) != 0) {
        block.key.push_back(static_cast<wchar_t>(word(at)));
        at += 2;
    }
    at = Align4(at + 2);
    const std::size_t valueBytes = isText ? valueLength * 2 : valueLength;
    block.value.assign(base + at, base + at + valueBytes);
    if (isText) {
        for (std::size_t i = 0; i + 1 < valueBytes; i += 2) {
            const wchar_t c = static_cast<wchar_t>(word(at + i));
            if (c == 0) break;
            block.text.push_back(c);
        }
    }
    at = Align4(at + valueBytes);
    while (at < offset + length) {
        block.children.push_back(ParseBlock(base, at));
        at = Align4(at + word(at));
    }
    return block;
}

TEST_F(InstallerImage, VersionBlockCarriesTheIdentity) {
    const std::vector<std::uint8_t> raw = Data(RT_VERSION, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(raw.empty());
    const VersionBlock root = ParseBlock(raw.data(), 0);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");

    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000002u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0x00000002u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed.dwFileFlags, 0u);
    EXPECT_EQ(fixed.dwFileOS, 4u);
    EXPECT_EQ(fixed.dwFileType, 1u);
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
    EXPECT_EQ(fixed.dwFileDateMS, 0u);
    EXPECT_EQ(fixed.dwFileDateLS, 0u);

    ASSERT_EQ(root.children.size(), 2u);
    const VersionBlock& strings = root.children[0];
    EXPECT_EQ(strings.key, L"StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    EXPECT_EQ(strings.children[0].key, L"040904B0");

    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (const VersionBlock& entry : strings.children[0].children) entries.emplace_back(entry.key, entry.text);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].first, L"CompanyName");
    EXPECT_FALSE(entries[0].second.empty());
    const std::vector<std::pair<std::wstring, std::wstring>> rest(entries.begin() + 1, entries.end());
    EXPECT_EQ(rest, (std::vector<std::pair<std::wstring, std::wstring>>{
                        {L"ProductName", L"Tolvar"},
                        {L"FileVersion", L"2.00.0002"},
                        {L"ProductVersion", L"2.00.0002"},
                        {L"InternalName", L"QuillfernFaces"},
                        {L"OriginalFilename", L"QuillfernFaces.exe"},
                    }));

    const VersionBlock& translation = root.children[1];
    EXPECT_EQ(translation.key, L"VarFileInfo");
    ASSERT_EQ(translation.children.size(), 1u);
    EXPECT_EQ(translation.children[0].key, L"Translation");
    EXPECT_EQ(translation.children[0].value, (std::vector<std::uint8_t>{0x09, 0x04, 0xB0, 0x04}));
}

}  // namespace
}  // namespace quillfern::testing
