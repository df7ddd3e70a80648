#include "platform/comserver/ObjectWithSite.h"

HRESULT ObjectWithSite::SetSite(IUnknown* site) {
    if (site) site->AddRef();
    site_.Reset(site);
    return S_OK;
}

HRESULT ObjectWithSite::GetSite(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!site_) return E_FAIL;
    return site_->QueryInterface(iid, out);
}
