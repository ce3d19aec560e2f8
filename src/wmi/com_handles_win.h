// RAII owners for the COM pointers, BSTRs and VARIANTs of the automation calls.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string_view>
#include <utility>

// Owns one reference to a COM interface.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes a new reference of its own.
    static ComPtr Share(T* pointer) {
        if (pointer != nullptr) {
            pointer->AddRef();
        }
        ComPtr result;
        result.pointer_ = pointer;
        return result;
    }
    ComPtr(const ComPtr& other) : ComPtr(Share(other.pointer_)) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For a call that hands out a reference: releases the one held first.
    T** Put() {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (pointer_ != nullptr) {
            std::exchange(pointer_, nullptr)->Release();
        }
    }

private:
    T* pointer_ = nullptr;
};

// Owns a BSTR.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::wstring_view text)
        : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { SysFreeString(bstr_); }

    BSTR Get() const { return bstr_; }
    BSTR* Put() {
        SysFreeString(std::exchange(bstr_, nullptr));
        return &bstr_;
    }
    // The BSTR leaves this owner, for a VARIANT that frees it.
    BSTR Release() { return std::exchange(bstr_, nullptr); }

private:
    BSTR bstr_ = nullptr;
};

// Owns a VARIANT and whatever it holds.
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&variant_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& other) noexcept : UniqueVariant() {
        std::swap(variant_, other.variant_);
    }
    ~UniqueVariant() { VariantClear(&variant_); }

    const VARIANT& Get() const { return variant_; }
    VARIANT* Put() {
        VariantClear(&variant_);
        return &variant_;
    }

private:
    VARIANT variant_;
};

// Owns the texts that a failed IDispatch::Invoke leaves in its EXCEPINFO.
class UniqueExcepInfo {
public:
    UniqueExcepInfo() = default;
    UniqueExcepInfo(const UniqueExcepInfo&) = delete;
    UniqueExcepInfo& operator=(const UniqueExcepInfo&) = delete;
    ~UniqueExcepInfo() {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
    }

    EXCEPINFO* Put() { return &info_; }
    // Fills the texts in when the object deferred that.
    const EXCEPINFO& Filled() {
        if (info_.pfnDeferredFillIn != nullptr) {
            info_.pfnDeferredFillIn(&info_);
            info_.pfnDeferredFillIn = nullptr;
        }
        return info_;
    }

private:
    EXCEPINFO info_{};
};
