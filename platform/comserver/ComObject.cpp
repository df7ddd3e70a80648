#include "platform/comserver/ComObject.h"

HRESULT ComObjectRoot::InternalQueryInterface(void* self, const ComInterfaceEntry* table, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!table || !table[0].iid) return E_NOINTERFACE;
    const ComInterfaceEntry* found = IsEqualIID(iid, IID_IUnknown) ? table : nullptr;
    for (const ComInterfaceEntry* e = table; !found && e->iid; ++e) {
        if (IsEqualIID(iid, *e->iid)) found = e;
    }
    if (!found) return E_NOINTERFACE;
    IUnknown* unknown = reinterpret_cast<IUnknown*>(static_cast<char*>(self) + found->offset);
    unknown->AddRef();
    *out = unknown;
    return S_OK;
}
