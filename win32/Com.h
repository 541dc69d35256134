// Move-only owners for COM: the apartment, interface pointers, BSTR, VARIANT
// and task-allocator memory.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "common/Failure.h"

namespace quillfern::win32 {

// Throws a Failure naming the call when hr is a failure code.
inline void ThrowIfFailed(HRESULT hr, const wchar_t* what) {
    if (SUCCEEDED(hr)) return;
    wchar_t code[16];
    wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(hr));
    throw Failure(std::wstring(what) + L" failed (" + code + L").");
}

// The GUI thread's single-threaded apartment, for the program's whole run.
class ComApartment {
public:
    ComApartment() {
        ThrowIfFailed(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE),
                      L"CoInitializeEx");
    }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    // For out-parameters: releases what is held first.
    T** Put() noexcept {
        Reset();
        return &ptr_;
    }
    void Reset() noexcept {
        if (T* old = std::exchange(ptr_, nullptr)) old->Release();
    }

private:
    T* ptr_ = nullptr;
};

class UniqueBstr {
public:
    explicit UniqueBstr(const std::wstring& text)
        : bstr_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!bstr_) throw Failure(L"SysAllocStringLen failed.");
    }
    ~UniqueBstr() { ::SysFreeString(bstr_); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR Get() const noexcept { return bstr_; }

private:
    BSTR bstr_;
};

class UniqueVariant {
public:
    UniqueVariant() noexcept { ::VariantInit(&value_); }
    ~UniqueVariant() { ::VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* Get() noexcept { return &value_; }

private:
    VARIANT value_;
};

// Memory from the COM task allocator, such as the shell's item identifier lists.
template <typename T>
class UniqueCoTaskMem {
public:
    explicit UniqueCoTaskMem(T* ptr = nullptr) noexcept : ptr_(ptr) {}
    ~UniqueCoTaskMem() { ::CoTaskMemFree(ptr_); }
    UniqueCoTaskMem(UniqueCoTaskMem&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    UniqueCoTaskMem& operator=(UniqueCoTaskMem&& other) noexcept {
        if (this != &other) {
            ::CoTaskMemFree(ptr_);
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    UniqueCoTaskMem(const UniqueCoTaskMem&) = delete;
    UniqueCoTaskMem& operator=(const UniqueCoTaskMem&) = delete;

    T* Get() const noexcept { return ptr_; }

private:
    T* ptr_;
};

}  // namespace quillfern::win32
