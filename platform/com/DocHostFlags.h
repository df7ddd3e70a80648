// The document host flags (DOCHOSTUIFLAG_*) of a web page: given to the
// page's document through a UI handler of ours (ICustomDoc::SetUIHandler),
// whose GetHostInfo reports them; everything else is left to the browser.
#pragma once

#include <windows.h>

#include <unknwn.h>

struct IDocHostUIHandler;

// MSHTML's ICustomDoc, which MinGW does not declare.
// {3050F3F0-98B5-11CF-BB82-00AA00BDCE0B}
extern const IID IID_AfxCustomDoc;
struct IAfxCustomDoc : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetUIHandler(IDocHostUIHandler* handler) = 0;
};

// Sets a UI handler reporting flags on document; E_NOINTERFACE when the
// document takes none.
HRESULT AfxApplyDocHostFlags(IUnknown* document, DWORD flags);
