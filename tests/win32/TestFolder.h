// A fresh folder under the temporary folder, removed with everything in it.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quillfern::testing {

class TestFolder {
public:
    TestFolder() {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"qf-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter_);
        EXPECT_TRUE(::CreateDirectoryW(path_.c_str(), nullptr)) << "cannot create the test folder";
    }
    ~TestFolder() {
        // Files may have been made read-only by a test.
        for (const std::wstring& name : Names()) {
            const std::wstring file = path_ + L"\\" + name;
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(file.c_str());
        }
        ::RemoveDirectoryW(path_.c_str());
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

    // Every entry in the folder but . and ..
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }

private:
    static inline int counter_ = 0;
    std::wstring path_;
};

inline std::vector<std::byte> ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) bytes[i] = static_cast<std::byte>(chars[i]);
    return bytes;
}

inline void WriteBytes(const std::wstring& path, const std::string& content) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << content;
}

}  // namespace quillfern::testing
