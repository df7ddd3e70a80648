// Reference-counted COM objects with an interface table.
//
//   class CThing : public ComObjectRoot, public IFoo, public IBar {
//   public:
//       static const ComInterfaceEntry* Interfaces();   // IUnknown is the first entry
//   };
//   const ComInterfaceEntry* CThing::Interfaces() {
//       static const ComInterfaceEntry table[] = {
//           ComEntry<CThing, IFoo>(IID_IFoo), ComEntry<CThing, IBar>(IID_IBar), {}};
//       return table;
//   }
//   ComObject<CThing>::Create(IID_IFoo, &out);
//
// Every living object holds the module (see ComModule).
#pragma once

#include <windows.h>

#include <cstddef>
#include <new>

#include "platform/comserver/ComModule.h"

struct ComInterfaceEntry {
    const IID* iid;     // null ends the table
    ptrdiff_t offset;   // of the interface within the class
};

template <class Class, class Interface>
ComInterfaceEntry ComEntry(const IID& iid) {
    // Any non-null address serves to measure the base's offset.
    Class* const probe = reinterpret_cast<Class*>(0x1000);
    return {&iid, reinterpret_cast<char*>(static_cast<Interface*>(probe)) - reinterpret_cast<char*>(probe)};
}

class ComObjectRoot {
protected:
    ComObjectRoot() { ComModule::Lock(); }
    virtual ~ComObjectRoot() { ComModule::Unlock(); }
    ComObjectRoot(const ComObjectRoot&) = delete;
    ComObjectRoot& operator=(const ComObjectRoot&) = delete;

    ULONG InternalAddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG InternalRelease() { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }
    // self is the object as its class (the table's offsets are from there).
    static HRESULT InternalQueryInterface(void* self, const ComInterfaceEntry* table, REFIID iid, void** out);

private:
    volatile LONG refs_ = 0;
};

// The creatable form of a class: IUnknown over its table.
template <class T>
class ComObject final : public T {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
        return this->InternalQueryInterface(static_cast<T*>(this), T::Interfaces(), iid, out);
    }
    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = this->InternalRelease();
        if (left == 0) delete this;
        return left;
    }

    static HRESULT Create(REFIID iid, void** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        ComObject<T>* object = new (std::nothrow) ComObject<T>;
        if (!object) return E_OUTOFMEMORY;
        object->AddRef();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
};
