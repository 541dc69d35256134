// qf_bench_copy <source folder> <destination folder>: the floor of the
// install-work figure. Copies the five payload files with the system's plain
// file copy and prints the stamps around the copies.
#include <windows.h>

#include <string>

#include "bench/Record.h"
#include "payload/Catalogue.h"
#include "win32/Handles.h"

namespace {

constexpr int kFailed = 1;
constexpr char kUsage[] = "usage: qf_bench_copy <source folder> <destination folder>\n";

std::wstring InFolder(const wchar_t* folder, std::wstring_view name) {
    return std::wstring(folder) + L"\\" + std::wstring(name);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace quillfern;
    if (argc != 3) {
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), kUsage, sizeof kUsage - 1, &written, nullptr);
        return kFailed;
    }

    bench::Record record;
    record.Add("copy_start", bench::Ticks());
    for (std::wstring_view name : payload::kCatalogue) {
        if (!::CopyFileW(InFolder(argv[1], name).c_str(), InFolder(argv[2], name).c_str(), FALSE)) {
            return kFailed;
        }
    }
    record.Add("copy_end", bench::Ticks());

    // Not part of the floor: what forcing the copies to disk costs, as the
    // installer's own file output does for each file.
    for (std::wstring_view name : payload::kCatalogue) {
        const win32::UniqueFile file(::CreateFileW(InFolder(argv[2], name).c_str(), GENERIC_WRITE, 0, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !::FlushFileBuffers(file.Get())) return kFailed;
    }
    record.Add("flush_end", bench::Ticks());
    return record.Print() ? 0 : kFailed;
}
