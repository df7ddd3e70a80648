// Owns one reference to an interface.
#pragma once

#include <windows.h>

#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For calls that hand out a new reference: drops the one held first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    // Takes over a reference the caller owns.
    void Reset(T* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }
    T* Detach() { return std::exchange(p_, nullptr); }

private:
    T* p_ = nullptr;
};
