// Identifiers of ImageOle.dll, the animated-GIF control embedded in the
// lobby's chat, and its dual interface.
#pragma once

#include <windows.h>
#include <oaidl.h>

extern const CLSID CLSID_GifPlayer;
extern const IID IID_IGifPlayer;
extern const GUID LIBID_ImageOleLib;

struct IGifPlayer : public IDispatch {
    // Loads the GIF file; a failure HRESULT when it cannot be read.
    virtual HRESULT STDMETHODCALLTYPE LoadFromFile(BSTR path) = 0;
    // VARIANT_TRUE while the picture has more than one frame.
    virtual HRESULT STDMETHODCALLTYPE IsAnimated(VARIANT_BOOL* animated) = 0;
};
