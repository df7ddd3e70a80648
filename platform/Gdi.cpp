#include "platform/Gdi.h"

#include <vector>

#include "platform/App.h"
#include "platform/TempMap.h"
#include "platform/Wnd.h"

using afx_detail::TempMap;

namespace afx_detail {

namespace {
std::vector<void (*)()>& Cleaners() {
    thread_local std::vector<void (*)()> cleaners;
    return cleaners;
}
}  // namespace

void RegisterTempMapCleaner(void (*clear)()) { Cleaners().push_back(clear); }

}  // namespace afx_detail

void AfxDeleteTempMaps() {
    for (auto clear : afx_detail::Cleaners()) clear();
}

// ---- CGdiObject ---------------------------------------------------------------

BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (!h) return FALSE;
    DeleteObject();
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

CPen* CPen::FromHandle(HPEN h) { return h ? TempMap<CPen, HGDIOBJ>::Get(h) : nullptr; }
CBrush* CBrush::FromHandle(HBRUSH h) { return h ? TempMap<CBrush, HGDIOBJ>::Get(h) : nullptr; }
CFont* CFont::FromHandle(HFONT h) { return h ? TempMap<CFont, HGDIOBJ>::Get(h) : nullptr; }
CBitmap* CBitmap::FromHandle(HBITMAP h) { return h ? TempMap<CBitmap, HGDIOBJ>::Get(h) : nullptr; }
CRgn* CRgn::FromHandle(HRGN h) { return h ? TempMap<CRgn, HGDIOBJ>::Get(h) : nullptr; }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCSTR faceName) {
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
}

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }

BOOL CBitmap::LoadBitmap(LPCSTR name) { return Attach(::LoadBitmapA(AfxGetResourceHandle(), name)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

CSize CBitmap::GetSize() const {
    BITMAP bm{};
    if (!m_hObject || !GetBitmap(&bm)) return CSize();
    return CSize(bm.bmWidth, bm.bmHeight);
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    return ::CombineRgn(*this, a ? static_cast<HRGN>(*a) : nullptr, b ? static_cast<HRGN>(*b) : nullptr, mode);
}

// ---- CDC ----------------------------------------------------------------------

CDC::~CDC() { DeleteDC(); }

CDC* CDC::FromHandle(HDC h) { return h ? TempMap<CDC, HDC>::Get(h) : nullptr; }

BOOL CDC::Attach(HDC h) {
    if (!h) return FALSE;
    m_hDC = h;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    BOOL ok = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    return ok;
}

template <class T>
T* CDC::Select(T* obj) {
    HGDIOBJ old = ::SelectObject(m_hDC, obj ? obj->m_hObject : nullptr);
    return old ? TempMap<T, HGDIOBJ>::Get(old) : nullptr;
}

CPen* CDC::SelectObject(CPen* pen) { return Select(pen); }
CBrush* CDC::SelectObject(CBrush* brush) { return Select(brush); }
CFont* CDC::SelectObject(CFont* font) { return Select(font); }
CBitmap* CDC::SelectObject(CBitmap* bitmap) { return Select(bitmap); }
CGdiObject* CDC::SelectObject(CGdiObject* obj) { return Select(obj); }

CSize CDC::GetTextExtent(const CString& text) const {
    SIZE s{};
    ::GetTextExtentPoint32A(m_hDC, text, text.GetLength(), &s);
    return CSize(s);
}

void CDC::FillSolidRect(LPCRECT r, COLORREF color) {
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    CRect r(x, y, x + cx, y + cy);
    FillSolidRect(&r, color);
}

BOOL CDC::TransparentBlt(int x, int y, int cx, int cy, CDC* src, int sx, int sy, int scx, int scy, UINT key) {
    return ::TransparentBlt(m_hDC, x, y, cx, cy, src->m_hDC, sx, sy, scx, scy, key);
}

BOOL CDC::AlphaBlend(int x, int y, int cx, int cy, CDC* src, int sx, int sy, int scx, int scy, BLENDFUNCTION bf) {
    return ::AlphaBlend(m_hDC, x, y, cx, cy, src->m_hDC, sx, sy, scx, scy, bf);
}

// ---- window DCs ---------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// ---- CMemDC -------------------------------------------------------------------

HBITMAP AfxCreateDibSection(HDC like, int width, int height, void** bits) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP dib = ::CreateDIBSection(like, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    if (bits) *bits = dib ? p : nullptr;
    return dib;
}

CMemDC::CMemDC(HDC target, const RECT& rect) : m_target(target), m_rect(rect) { Bind(m_own); }

CMemDC::CMemDC(HDC target, const RECT& rect, CBitmap& kept) : m_target(target), m_rect(rect) { Bind(kept); }

void CMemDC::Bind(CBitmap& bitmap) {
    // Never an empty bitmap: a memory DC over nothing cannot be drawn into.
    const CSize size(m_rect.Width() > 0 ? m_rect.Width() : 1, m_rect.Height() > 0 ? m_rect.Height() : 1);
    if (!bitmap.m_hObject || bitmap.GetSize() != size) {
        bitmap.Attach(AfxCreateDibSection(m_target, size.cx, size.cy));
        m_new = true;
    }
    if (!Attach(::CreateCompatibleDC(m_target))) return;
    m_oldBitmap = ::SelectObject(m_hDC, bitmap.m_hObject);
    ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
}

void CMemDC::CopyBackOnly(const RECT& r) {
    m_partial = true;
    CRect part;
    if (part.IntersectRect(r, m_rect)) m_parts.push_back(part);
}

CMemDC::~CMemDC() {
    if (!m_hDC) return;
    if (!m_partial) m_parts.assign(1, m_rect);
    for (const CRect& r : m_parts)
        ::BitBlt(m_target, r.left, r.top, r.Width(), r.Height(), m_hDC, r.left, r.top, SRCCOPY);
    ::SelectObject(m_hDC, m_oldBitmap);
}
