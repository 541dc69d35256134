#include "installer/win32/WinPlatform.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/Failure.h"
#include "win32/Handles.h"

namespace quillfern::win32 {

namespace {

// Large enough to keep the call count low, small enough for one ReadFile buffer.
constexpr DWORD kChunkBytes = 1 << 20;
constexpr wchar_t kTempPrefix[] = L"qff";

[[noreturn]] void Fail(const std::wstring& path, const wchar_t* what) {
    throw Failure(path + L": " + what);
}

// The temporary file is deleted unless it has been moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& folder) {
        wchar_t name[MAX_PATH];
        if (::GetTempFileNameW(folder.c_str(), kTempPrefix, 0, name) == 0) {
            Fail(folder, L"cannot create a file in this folder");
        }
        path_ = name;
    }
    ~TemporaryFile() {
        if (!path_.empty()) ::DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const { return path_; }
    void Kept() { path_.clear(); }

private:
    std::wstring path_;
};

void WriteAll(HANDLE file, std::span<const std::byte> bytes, const std::wstring& path) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk) {
            Fail(path, L"writing failed (is the disk full?)");
        }
        bytes = bytes.subspan(chunk);
    }
    if (!::FlushFileBuffers(file)) Fail(path, L"flushing failed");
}

void VerifyContent(HANDLE file, std::span<const std::byte> expected, const std::wstring& path) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || static_cast<unsigned long long>(size.QuadPart) != expected.size()) {
        Fail(path, L"the written file has the wrong size");
    }
    if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        Fail(path, L"cannot read the written file back");
    }
    std::vector<std::byte> buffer(std::min<std::size_t>(expected.size(), kChunkBytes));
    while (!expected.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(expected.size(), kChunkBytes));
        DWORD read = 0;
        if (!::ReadFile(file, buffer.data(), chunk, &read, nullptr) || read != chunk ||
            std::memcmp(buffer.data(), expected.data(), chunk) != 0) {
            Fail(path, L"the written file reads back differently");
        }
        expected = expected.subspan(chunk);
    }
}

// A target that is there must be a plain file that may be replaced now.
void CheckReplaceable(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(path, L"is a folder, not a file");
    if (attributes & FILE_ATTRIBUTE_READONLY) Fail(path, L"is read-only");
    // Opening without sharing fails while another program holds the file.
    const UniqueFile probe(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) Fail(path, L"is in use or cannot be replaced");
}

}  // namespace

void SafeFileOutput::WriteWholeFile(const std::wstring& path, std::span<const std::byte> bytes) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator + 1 == path.size()) Fail(path, L"names no file");
    CheckReplaceable(path);

    TemporaryFile temporary(path.substr(0, separator + 1));
    {
        const UniqueFile file(::CreateFileW(temporary.Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                            nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) Fail(temporary.Path(), L"cannot be opened for writing");
        WriteAll(file.Get(), bytes, temporary.Path());
        VerifyContent(file.Get(), bytes, temporary.Path());
    }
    if (!::MoveFileExW(temporary.Path().c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Fail(path, L"cannot be replaced");
    }
    temporary.Kept();
}

}  // namespace quillfern::win32
