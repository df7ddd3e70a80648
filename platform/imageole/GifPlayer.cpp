#include "platform/imageole/GifPlayer.h"

#include <objidl.h>
#include <gdiplus.h>

#include <map>

namespace {

// GDI+ for the module's life; never from DllMain, so on first use.
bool StartGdiplus() {
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

std::map<UINT_PTR, CGifPlayer*>& Timers() {
    static std::map<UINT_PTR, CGifPlayer*> timers;
    return timers;
}

// Pixels to HIMETRIC (0.01 mm) at the screen's resolution.
LONG ToHimetric(int pixels, int index) {
    HDC dc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(dc, index);
    ::ReleaseDC(nullptr, dc);
    return ::MulDiv(pixels, 2540, dpi ? dpi : 96);
}

}  // namespace

CGifPlayer::CGifPlayer() : TypeLibDispatch<IGifPlayer>(IID_IGifPlayer) {}

CGifPlayer::~CGifPlayer() { StopAnimation(); }

const ComInterfaceEntry* CGifPlayer::Interfaces() {
    static const ComInterfaceEntry table[] = {
        ComEntry<CGifPlayer, IGifPlayer>(IID_IGifPlayer),
        ComEntry<CGifPlayer, IGifPlayer>(IID_IDispatch),
        ComEntry<CGifPlayer, IOleObject>(IID_IOleObject),
        ComEntry<CGifPlayer, IViewObject2>(IID_IViewObject),
        ComEntry<CGifPlayer, IViewObject2>(IID_IViewObject2),
        ComEntry<CGifPlayer, IOleInPlaceObject>(IID_IOleWindow),
        ComEntry<CGifPlayer, IOleInPlaceObject>(IID_IOleInPlaceObject),
        ComEntry<CGifPlayer, IDataObject>(IID_IDataObject),
        {},
    };
    return table;
}

HRESULT CGifPlayer::Create(REFIID iid, void** out) { return ComObject<CGifPlayer>::Create(iid, out); }

STDMETHODIMP CGifPlayer::LoadFromFile(BSTR path) {
    if (!path) return E_INVALIDARG;
    if (!StartGdiplus()) return E_FAIL;
    if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return frames_.Load(path) ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
}

STDMETHODIMP CGifPlayer::IsAnimated(VARIANT_BOOL* animated) {
    if (!animated) return E_POINTER;
    *animated = frames_.Count() > 1 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CGifPlayer::SetClientSite(IOleClientSite* site) {
    if (site) site->AddRef();
    site_.Reset(site);
    return S_OK;
}

STDMETHODIMP CGifPlayer::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

STDMETHODIMP CGifPlayer::Close(DWORD) {
    StopAnimation();
    site_.Reset();
    return S_OK;
}

STDMETHODIMP CGifPlayer::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT) {
    if (site && !site_) SetClientSite(site);
    if (parent) host_ = parent;
    if (!host_ && site_) {
        ComPtr<IOleWindow> window;
        if (SUCCEEDED(site_->QueryInterface(IID_IOleWindow, window.PutVoid()))) window->GetWindow(&host_);
    }
    switch (verb) {
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE:
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_PRIMARY:
            StartAnimation();
            return S_OK;
        case OLEIVERB_HIDE:
            StopAnimation();
            return S_OK;
        default:
            return OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP CGifPlayer::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_GifPlayer;
    return S_OK;
}

STDMETHODIMP CGifPlayer::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT || !frames_.IsLoaded()) return E_FAIL;
    size->cx = ToHimetric(frames_.Width(), LOGPIXELSX);
    size->cy = ToHimetric(frames_.Height(), LOGPIXELSY);
    return S_OK;
}

STDMETHODIMP CGifPlayer::Advise(IAdviseSink*, DWORD* cookie) {
    if (cookie) *cookie = 0;
    return S_OK;
}

STDMETHODIMP CGifPlayer::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE;
    return S_OK;
}

STDMETHODIMP CGifPlayer::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    const RECT r = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    frames_.Draw(dc, r);
    return S_OK;
}

STDMETHODIMP CGifPlayer::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = host_;
    return host_ ? S_OK : E_FAIL;
}

STDMETHODIMP CGifPlayer::InPlaceDeactivate() {
    StopAnimation();
    return S_OK;
}

STDMETHODIMP CGifPlayer::QueryGetData(FORMATETC* format) {
    if (!format) return E_POINTER;
    return format->cfFormat == CF_BITMAP && (format->tymed & TYMED_GDI) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP CGifPlayer::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!format || !medium) return E_POINTER;
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HBITMAP bitmap = frames_.CopyFrame(RGB(255, 255, 255));
    if (!bitmap) return E_FAIL;
    medium->tymed = TYMED_GDI;
    medium->hBitmap = bitmap;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

void CGifPlayer::StartAnimation() {
    if (timer_ || frames_.Count() < 2) return;
    timer_ = ::SetTimer(nullptr, 0, frames_.Delay(frames_.Current()), &CGifPlayer::OnTick);
    if (timer_) Timers()[timer_] = this;
}

void CGifPlayer::StopAnimation() {
    if (!timer_) return;
    ::KillTimer(nullptr, timer_);
    Timers().erase(timer_);
    timer_ = 0;
}

void CALLBACK CGifPlayer::OnTick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    CGifPlayer* self = it->second;
    const UINT delay = self->frames_.Advance();
    ::SetTimer(nullptr, id, delay, &CGifPlayer::OnTick);
    if (self->host_ && ::IsWindow(self->host_)) ::InvalidateRect(self->host_, nullptr, FALSE);
}
