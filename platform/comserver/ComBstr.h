// Owns one BSTR.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

class ComBstr {
public:
    ComBstr() = default;
    explicit ComBstr(const wchar_t* text) : s_(text ? SysAllocString(text) : nullptr) {}
    ComBstr(const ComBstr&) = delete;
    ComBstr& operator=(const ComBstr&) = delete;
    ~ComBstr() { SysFreeString(s_); }

    BSTR Get() const { return s_; }
    UINT Length() const { return SysStringLen(s_); }
    BSTR* Put() {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    BSTR Detach() { return std::exchange(s_, nullptr); }

private:
    BSTR s_ = nullptr;
};
