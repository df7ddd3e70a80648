#include "game/ui/SkinRichEditCtrl.h"

#include <commctrl.h>

#include <cstdio>

#include "game/core/table/WebAddress.h"
#include "game/ui/TableHooks.h"

namespace {
// {00020D03-0000-0000-C000-000000000046}
const IID kIidRichEditOleCallback = {0x00020D03, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DWORD kStorageMode = STGM_TRANSACTED | STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;
constexpr DWORD kEventMask = 0x040C0415;
}  // namespace

STDMETHODIMP CSkinRichEditCtrl::XOleCallback::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidRichEditOleCallback)) {
        *out = static_cast<IRichEditOleCallback*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CSkinRichEditCtrl::XOleCallback::GetNewStorage(LPSTORAGE* storage) {
    if (!storage) return E_POINTER;
    *storage = nullptr;
    if (!root) return E_FAIL;
    wchar_t name[32];
    std::swprintf(name, 32, L"REOLEStorage%d", ++storages);
    return root->CreateStorage(name, kStorageMode, 0, 0, storage);
}

BEGIN_MESSAGE_MAP(CSkinRichEditCtrl, CRichEditCtrl)
ON_WM_CREATE()
ON_NOTIFY_REFLECT(EN_REQUESTRESIZE, OnRequestResize)
ON_CONTROL_REFLECT(EN_VSCROLL, OnVScrollNotify)
ON_CONTROL_REFLECT(EN_HSCROLL, OnHScrollNotify)
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
ON_CONTROL_REFLECT(EN_UPDATE, OnUpdate)
ON_NOTIFY_REFLECT(EN_LINK, OnLink)
ON_NOTIFY_REFLECT(EN_SELCHANGE, OnResultZero)
ON_NOTIFY_REFLECT(EN_DRAGDROPDONE, OnResultZero)
ON_WM_MOUSEWHEEL()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSkinRichEditCtrl::CSkinRichEditCtrl() {
    // Without its storage the control runs without the callback.
    if (FAILED(::StgCreateDocfile(nullptr, kStorageMode | STGM_DELETEONRELEASE, 0, &m_callback.root)))
        m_callback.root = nullptr;
}

CSkinRichEditCtrl::~CSkinRichEditCtrl() {
    if (m_hWnd && m_callbackRegistered) SendMessage(EM_SETOLECALLBACK, 0, 0);
    if (m_callback.root) m_callback.root->Release();
}

void CSkinRichEditCtrl::RegisterCallback() {
    if (m_callbackRegistered || !m_callback.root || !m_hWnd) return;
    m_callbackRegistered = SetOLECallback(&m_callback);
}

void CSkinRichEditCtrl::PreSubclassWindow() {
    m_createStyle |= GetStyle();
    RegisterCallback();
}

int CSkinRichEditCtrl::OnCreate(LPCREATESTRUCT cs) {
    // The control drops its scroll styles while nothing needs scrolling.
    m_createStyle |= cs->style;
    const int result = static_cast<int>(Default());
    if (result != -1) RegisterCallback();
    return result;
}

void CSkinRichEditCtrl::AttachSkin(CxImage* const* p) {
    m_vbar.SetPictures(p, 6);
    m_hbar.SetPictures(p + 6, 4);
    CWnd* parent = GetParent();
    const DWORD style = GetStyle() | m_createStyle;
    if ((style & WS_VSCROLL) && !m_vbar.m_hWnd) m_vbar.CreateBar(parent);
    if ((style & WS_HSCROLL) && !m_hbar.m_hWnd) m_hbar.CreateBar(parent);
    m_vbar.SetEdit(this);
    m_hbar.SetTarget(this);
    ::InitializeFlatSB(m_hWnd);
    ::FlatSB_EnableScrollBar(m_hWnd, SB_BOTH, ESB_DISABLE_BOTH);
    ::FlatSB_ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
    SetEventMask(kEventMask);
    PlaceBars();
}

void CSkinRichEditCtrl::PlaceBars() {
    CRect r;
    GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&r), 2);
    const int hh = m_hbar.m_hWnd ? m_hbar.ThumbHeight() : 0;
    const int vw = m_vbar.m_hWnd ? m_vbar.ThumbWidth() : 0;
    // As the list's bars: the vertical one over the control's own.
    if (m_vbar.m_hWnd) ::SetWindowPos(m_vbar, HWND_TOP, r.right - vw, r.top, vw, r.Height() + hh, SWP_NOACTIVATE);
    if (m_hbar.m_hWnd)
        m_hbar.SetWindowPos(nullptr, r.left, r.bottom, r.Width() - vw, hh, SWP_NOZORDER | SWP_NOACTIVATE);
    RefreshBars();
}

void CSkinRichEditCtrl::RefreshBars() {
    m_vbar.Refresh();
    m_hbar.Refresh();
}

void CSkinRichEditCtrl::OnRequestResize(NMHDR* nm, LRESULT* result) {
    const REQRESIZE* request = reinterpret_cast<const REQRESIZE*>(nm);
    m_requestWidth = request->rc.right - request->rc.left;
    CRect R;
    GetRect(&R);
    int B = R.top + (request->rc.bottom - request->rc.top);
    if (B == R.top) ++B;
    if (B == R.bottom) --B;
    const int V = R.Height();
    if (R.PtInRect(CPoint(R.left, B))) {
        m_scrollRange = 0;
    } else {
        const int firstY = PosFromChar(0).y;
        const CPoint at(R.left, B - V + (firstY < 0 ? firstY : 0));
        const int ch = CharFromPos(at);
        int line = static_cast<int>(LineFromChar(ch));
        if (PosFromChar(static_cast<UINT>(ch)).y < at.y) ++line;
        m_scrollRange = line > 0 ? line : 0;
    }
    RefreshBars();
    *result = 0;
}

void CSkinRichEditCtrl::OnChange() {
    RefreshBars();
    Invalidate(FALSE);
}

void CSkinRichEditCtrl::OnLink(NMHDR* nm, LRESULT* result) {
    const ENLINK* link = reinterpret_cast<const ENLINK*>(nm);
    *result = 0;
    if (link->msg != WM_LBUTTONDOWN) return;
    const CString text = GetTextRange(link->chrg.cpMin, link->chrg.cpMax);
    if (IsWebAddress(text.GetString())) ShellOpen(text.GetString());
}

BOOL CSkinRichEditCtrl::OnMouseWheel(UINT, short delta, CPoint) {
    LineScroll(delta <= 0 ? 1 : -1);
    RefreshBars();
    return TRUE;
}

void CSkinRichEditCtrl::PageDown() {
    CRect R;
    GetRect(&R);
    const int first = GetFirstVisibleLine();
    const CPoint top = PosFromChar(static_cast<UINT>(LineIndex(first)));
    const int line = static_cast<int>(LineFromChar(CharFromPos(CPoint(top.x, top.y + R.Height()))));
    int step = line - first;
    if (first + step > m_scrollRange) step = m_scrollRange - first;
    if (step > 0) LineScroll(step);
    RefreshBars();
}

void CSkinRichEditCtrl::PageUp() {
    CRect R;
    GetRect(&R);
    const int first = GetFirstVisibleLine();
    const CPoint top = PosFromChar(static_cast<UINT>(LineIndex(first)));
    const int line = static_cast<int>(LineFromChar(CharFromPos(CPoint(top.x, top.y - R.Height()))));
    if (line < first) LineScroll(line - first);
    RefreshBars();
}
