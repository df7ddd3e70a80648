// IObjectWithSite: keeps the site it is given; GetSite gives E_FAIL while no
// site is kept. A class may override SetSite and keep none.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "platform/comserver/ComPtr.h"

class ObjectWithSite : public IObjectWithSite {
public:
    STDMETHOD(SetSite)(IUnknown* site) override;
    STDMETHOD(GetSite)(REFIID iid, void** out) override;

protected:
    ComPtr<IUnknown> site_;
};
