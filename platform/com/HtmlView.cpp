#include "platform/com/HtmlView.h"

namespace {

const char kViewClass[] = "MiraboHtmlView";

const char* ViewClass() {
    static const bool registered = [] {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = kViewClass;
        return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered ? kViewClass : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CHtmlView, CWnd)
ON_MESSAGE(WM_SIZE, OnSizeMessage)
END_MESSAGE_MAP()

CHtmlView::~CHtmlView() { DestroyWindow(); }

BOOL CHtmlView::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (m_hWnd) return FALSE;
    if (!className) className = ViewClass();
    if (!className || !CreateEx(0, className, windowName, style, rect, parent, id)) return FALSE;
    CRect client;
    GetClientRect(&client);
    if (!m_wndBrowser.Create(client, this, kBrowserId)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CHtmlView::Navigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR headers, const void* postData,
                          DWORD postLength) {
    m_wndBrowser.Navigate2(url, flags, targetFrame, headers, postData, postLength);
}

LRESULT CHtmlView::OnSizeMessage(WPARAM, LPARAM lParam) {
    Default();
    if (m_wndBrowser.m_hWnd) m_wndBrowser.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
    return 0;
}

void CHtmlView::OnBeforeNavigate2(LPCSTR, DWORD, LPCSTR, const std::vector<BYTE>&, LPCSTR, BOOL*) {}
void CHtmlView::OnNavigateComplete2(LPCSTR) {}
void CHtmlView::OnDocumentComplete(LPCSTR) {}
void CHtmlView::OnNavigateError(LPCSTR, LPCSTR, DWORD, BOOL*) {}

void CHtmlView::OnBrowserBeforeNavigate2(IDispatch*, LPCSTR url, DWORD flags, LPCSTR targetFrame,
                                         const std::vector<BYTE>& postData, LPCSTR headers, BOOL* cancel) {
    OnBeforeNavigate2(url, flags, targetFrame, postData, headers, cancel);
}

void CHtmlView::OnBrowserNavigateComplete2(IDispatch*, LPCSTR url) { OnNavigateComplete2(url); }
void CHtmlView::OnBrowserDocumentComplete(IDispatch*, LPCSTR url) { OnDocumentComplete(url); }

void CHtmlView::OnBrowserNavigateError(IDispatch*, LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel) {
    OnNavigateError(url, frame, status, cancel);
}
