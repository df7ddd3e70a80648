// The class factory handed out by DllGetClassObject: makes objects of one
// class through a creation function (ComObject<T>::Create).
#pragma once

#include <windows.h>

#include "platform/comserver/ComObject.h"

class ClassFactory : public ComObjectRoot, public IClassFactory {
public:
    using Creator = HRESULT (*)(REFIID iid, void** out);

    static const ComInterfaceEntry* Interfaces();
    // DllGetClassObject for a module serving one class.
    static HRESULT GetClassObject(REFCLSID requested, REFCLSID served, Creator creator, REFIID iid, void** out);

    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHOD(LockServer)(BOOL lock) override;

private:
    Creator creator_ = nullptr;
};
