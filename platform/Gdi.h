// GDI objects and device contexts: thin owners of Win32 handles.
// A CGdiObject deletes its handle when destroyed unless it was detached;
// FromHandle gives a temporary wrapper that owns nothing and lives until the
// thread's next idle moment (AfxDeleteTempMaps).
#pragma once

#include <windows.h>

#include <vector>

#include "platform/CString.h"
#include "platform/Types.h"

class CWnd;

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ m_hObject = nullptr;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
    // Wraps h without owning it (temporary wrappers only).
    void AttachTemporary(HGDIOBJ h) { m_hObject = h; }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN h);
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH h);
};

class CFont : public CGdiObject {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    int GetLogFont(LOGFONTA* lf) const { return GetObject(sizeof(LOGFONTA), lf); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT h);
};

class CDC;

class CBitmap : public CGdiObject {
public:
    // From the current resource module (AfxGetResourceHandle).
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCSTR name);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    CSize GetSize() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP h);
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT r) { return Attach(::CreateRectRgnIndirect(r)); }
    // this = a op b; returns the region type (NULLREGION, SIMPLEREGION...) or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CombineRgn(HRGN a, HRGN b, int mode) { return ::CombineRgn(*this, a, b, mode); }
    int CopyRgn(const CRgn* src) { return ::CombineRgn(*this, *src, nullptr, RGN_COPY); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    int GetRgnBox(LPRECT r) const { return ::GetRgnBox(*this, r); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN h);
};

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC h);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    static CDC* FromHandle(HDC h);
    void AttachTemporary(HDC h) { m_hDC = h; }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    // Each returns the object that was selected before (a temporary wrapper
    // unless it is one of ours), so it can be selected back.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* obj);
    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? static_cast<HRGN>(*rgn) : nullptr); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int DrawText(LPCSTR text, int count, LPRECT rect, UINT format) {
        return ::DrawTextA(m_hDC, text, count, rect, format);
    }
    int DrawText(const CString& text, LPRECT rect, UINT format) {
        return ::DrawTextA(m_hDC, text, text.GetLength(), rect, format);
    }
    BOOL TextOut(int x, int y, const CString& text) { return ::TextOutA(m_hDC, x, y, text, text.GetLength()); }
    CSize GetTextExtent(const CString& text) const;

    void FillSolidRect(LPCRECT r, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(LPCRECT r, CBrush* brush) { ::FillRect(m_hDC, r, *brush); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }

    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    BOOL BitBlt(int x, int y, int cx, int cy, CDC* src, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, cx, cy, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL StretchBlt(int x, int y, int cx, int cy, CDC* src, int sx, int sy, int scx, int scy, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, cx, cy, src->m_hDC, sx, sy, scx, scy, rop);
    }
    BOOL TransparentBlt(int x, int y, int cx, int cy, CDC* src, int sx, int sy, int scx, int scy, UINT key);
    BOOL AlphaBlend(int x, int y, int cx, int cy, CDC* src, int sx, int sy, int scx, int scy, BLENDFUNCTION bf);

private:
    template <class T> T* Select(T* obj);
};

// BeginPaint/EndPaint around a WM_PAINT handler.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC of a window's client area (CClientDC) or whole window (CWindowDC).
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

// Double buffering: a memory DC bound to a rectangle of a target DC. What is
// drawn into it, in the target's coordinates, lands in an off-screen bitmap
// that is copied to the rectangle when the CMemDC goes, in one piece.
//
//   void CMyWnd::OnPaint() {
//       CPaintDC paint(this);
//       CRect client;
//       GetClientRect(&client);
//       CMemDC dc(paint, client);
//       ... draw into dc ...
//   }  // the picture reaches the window here, before EndPaint
//
// The bitmap is the CMemDC's own, made for one paint, or one the caller keeps
// between paints (a cache of a picture that rarely changes): a kept bitmap is
// made again, compatible with the target, when it is missing or not the
// rectangle's size, and IsNew() then says that its picture must be drawn.
// Either is a 32-bit DIB section (AfxCreateDibSection).
// A picture kept between paints may be redrawn only in parts: CopyBackOnly
// then limits what reaches the target to those parts.
class CMemDC : public CDC {
public:
    CMemDC(HDC target, const RECT& rect);
    CMemDC(HDC target, const RECT& rect, CBitmap& kept);
    ~CMemDC() override;

    // The kept bitmap was made for this CMemDC (always so for its own).
    bool IsNew() const { return m_new; }
    // Copies back only r (in the target's coordinates; what lies outside the
    // rectangle never goes), in the order of the calls, instead of the whole.
    void CopyBackOnly(const RECT& r);

private:
    void Bind(CBitmap& bitmap);

    HDC m_target;
    CRect m_rect;
    CBitmap m_own;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_new = false;
    bool m_partial = false;
    std::vector<CRect> m_parts;
};

// A 32-bit DIB section, rows from the top (its pixels in *bits when asked).
// Selected into a memory DC it costs next to nothing, where a bitmap compatible
// with a device costs a tenth of a millisecond and more each time under Wine,
// more than copying it: bitmaps drawn from again and again are made this way.
HBITMAP AfxCreateDibSection(HDC like, int width, int height, void** bits = nullptr);

// Frees this thread's temporary wrappers (windows, DCs, GDI objects).
void AfxDeleteTempMaps();
