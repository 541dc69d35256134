#include "installer/win32/WinPlatform.h"

#include <ntsecapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/Failure.h"
#include "installer/ReplaceTarget.h"
#include "win32/Handles.h"

namespace quillfern::win32 {

namespace {

// Large enough to keep the call count low, small enough for one ReadFile buffer.
constexpr DWORD kChunkBytes = 1 << 20;
constexpr wchar_t kTempPrefix[] = L"qff";
constexpr wchar_t kTempSuffix[] = L".tmp";
// A random name is taken at once unless someone guessed it; a few tries are plenty.
constexpr int kNameTries = 8;

[[noreturn]] void Fail(const std::wstring& path, const wchar_t* what) {
    throw Failure(path + L": " + what);
}

std::wstring RandomTempName() {
    unsigned char random[8];
    if (!::RtlGenRandom(random, sizeof random)) return {};
    constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name = kTempPrefix;
    for (unsigned char byte : random) {
        name += kHex[byte >> 4];
        name += kHex[byte & 0xF];
    }
    return name + kTempSuffix;
}

// The path the file system gives for an open handle: where it really lies.
std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// Marks or unmarks an open file for deletion when its last handle closes.
bool SetDeleteOnClose(HANDLE file, bool deleteOnClose) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deleteOnClose ? TRUE : FALSE;
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

// The rename itself, straight to the system: Windows' own
// SetFileInformationByHandle hands the request over unchanged, but Wine's
// resolves a bare name against the current folder and drops the root handle.
// FILE_RENAME_INFO has the layout the system expects.
bool RenameByHandle(HANDLE file, FILE_RENAME_INFO* rename, ULONG size) {
    using NtSetInformationFileFn = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, FILE_INFORMATION_CLASS);
    static const auto setInformation = reinterpret_cast<NtSetInformationFileFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtSetInformationFile")));
    if (!setInformation) return false;
    IO_STATUS_BLOCK status{};
    return setInformation(file, &status, rename, size, FileRenameInformation) >= 0;
}

// The destination folder, opened once: everything after goes through this
// handle or is checked against it, so re-pointing the folder by name changes nothing.
class OpenFolder {
public:
    explicit OpenFolder(const std::wstring& path)
        : handle_(::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr)),
          path_(path) {
        if (!handle_) Fail(path, L"the folder cannot be opened");
        finalPath_ = FinalPath(handle_.Get());
        if (finalPath_.empty()) Fail(path, L"the folder's location cannot be read");
        // A drive root ends in its separator, any other folder does not.
        if (finalPath_.back() != L'\\') finalPath_ += L'\\';
    }

    HANDLE Get() const { return handle_.Get(); }
    const std::wstring& Path() const { return path_; }
    // Whether an open file lies directly in this folder under this name.
    bool Holds(HANDLE file, const std::wstring& name) const { return SameText(FinalPath(file), finalPath_ + name); }

private:
    UniqueFile handle_;
    std::wstring path_;
    std::wstring finalPath_;
};

// A new file of a random name in the folder, open without sharing. The system
// deletes it when its handle closes, even if the process is killed, unless
// it has been renamed into place; a failed pass therefore never deletes by name.
class TemporaryFile {
public:
    explicit TemporaryFile(const OpenFolder& folder) {
        for (int attempt = 0; attempt < kNameTries && !file_; ++attempt) {
            name_ = RandomTempName();
            if (name_.empty()) break;
            file_ = UniqueFile(::CreateFileW((folder.Path() + name_).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                             0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file_ && ::GetLastError() != ERROR_FILE_EXISTS) break;
        }
        if (!file_) Fail(folder.Path(), L"cannot create a file in this folder");
        // Where the system cannot, the failed pass deletes it below, still by handle.
        deleteOnClose_ = SetDeleteOnClose(file_.Get(), true);
        if (!folder.Holds(file_.Get(), name_)) {
            Discard();
            Fail(folder.Path(), L"the new file is not in this folder (was the folder re-pointed?)");
        }
    }
    ~TemporaryFile() { Discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    HANDLE Get() const { return file_.Get(); }
    const std::wstring& Name() const { return name_; }

    // Renames the file over the target, relative to the folder handle.
    void RenameOver(const OpenFolder& folder, const std::wstring& targetName) {
        if (deleteOnClose_ && !SetDeleteOnClose(file_.Get(), false)) {
            Fail(folder.Path() + targetName, L"cannot be replaced");
        }
        deleteOnClose_ = false;
        const std::size_t nameBytes = targetName.size() * sizeof(wchar_t);
        std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
        auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        rename->ReplaceIfExists = TRUE;
        rename->RootDirectory = folder.Get();
        rename->FileNameLength = static_cast<DWORD>(nameBytes);
        std::memcpy(rename->FileName, targetName.data(), nameBytes);
        if (!RenameByHandle(file_.Get(), rename, static_cast<ULONG>(buffer.size()))) {
            Fail(folder.Path() + targetName, L"cannot be replaced");
        }
        renamed_ = true;
    }

private:
    void Discard() {
        if (file_ && !renamed_ && !deleteOnClose_) SetDeleteOnClose(file_.Get(), true);
        file_.Reset();
    }

    std::wstring name_;
    UniqueFile file_;
    bool deleteOnClose_ = false;
    bool renamed_ = false;
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

TargetFacts FactsOf(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (::GetLastError()) {
            case ERROR_FILE_NOT_FOUND: return {TargetLookup::FileNotFound};
            case ERROR_PATH_NOT_FOUND: return {TargetLookup::PathNotFound};
            default: return {TargetLookup::Failed};
        }
    }
    return {TargetLookup::Found, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
            (attributes & FILE_ATTRIBUTE_READONLY) != 0};
}

// A target that is there must be a plain file that may be replaced now.
void CheckReplaceable(const std::wstring& path) {
    const TargetFacts facts = FactsOf(path);
    const std::wstring_view refusal = ReplaceRefusal(facts);
    if (!refusal.empty()) throw Failure(path + L": " + std::wstring(refusal));
    if (facts.lookup != TargetLookup::Found) return;
    // Opening without sharing fails while another program holds the file. A
    // link in its place is opened itself, not followed: the rename replaces it.
    const UniqueFile probe(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!probe) Fail(path, L"is in use or cannot be replaced");
}

}  // namespace

void SafeFileOutput::WriteWholeFile(const std::wstring& path, std::span<const std::byte> bytes) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator + 1 == path.size()) Fail(path, L"names no file");
    CheckReplaceable(path);

    const OpenFolder folder(path.substr(0, separator + 1));
    TemporaryFile temporary(folder);
    const std::wstring temporaryPath = folder.Path() + temporary.Name();
    WriteAll(temporary.Get(), bytes, temporaryPath);
    VerifyContent(temporary.Get(), bytes, temporaryPath);
    temporary.RenameOver(folder, path.substr(separator + 1));
}

}  // namespace quillfern::win32
