// Owns one VARIANT (cleared when replaced and at the end).
#pragma once

#include <windows.h>
#include <oleauto.h>

class ComVariant {
public:
    ComVariant() { VariantInit(&v_); }
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;
    ~ComVariant() { VariantClear(&v_); }

    VARIANT* Get() { return &v_; }
    const VARIANT& operator*() const { return v_; }
    // A deep copy of source (by-reference values are copied as references).
    HRESULT CopyFrom(const VARIANT& source) {
        VariantClear(&v_);
        return VariantCopy(&v_, const_cast<VARIANT*>(&source));
    }
    HRESULT ChangeType(VARTYPE type) { return VariantChangeType(&v_, &v_, 0, type); }

private:
    VARIANT v_;
};
