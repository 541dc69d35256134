// Move-only owners for Win32 handles: one named type per kind of resource.
#pragma once

#include <windows.h>

#include <utility>

namespace quillfern::win32 {

// Owns a value of type T and releases it with Traits::Close unless it is Traits::Invalid().
template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    T Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    T Release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void Reset(T value = Traits::Invalid()) noexcept {
        const T old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    T value_ = Traits::Invalid();
};

struct FileHandleTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct KernelHandleTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() noexcept { return nullptr; }
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() noexcept { return nullptr; }
    static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() noexcept { return nullptr; }
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct GlobalMemoryTraits {
    static HGLOBAL Invalid() noexcept { return nullptr; }
    static void Close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};

// CreateFileW's handles: invalid is INVALID_HANDLE_VALUE, not null.
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;
using UniqueIcon = UniqueResource<HICON, IconTraits>;
using UniqueHGlobal = UniqueResource<HGLOBAL, GlobalMemoryTraits>;

}  // namespace quillfern::win32
