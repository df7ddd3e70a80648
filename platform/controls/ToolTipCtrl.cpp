#include "platform/controls/ToolTipCtrl.h"

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CRect none;
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, none, parent, 0);
}

void CToolTipCtrl::FillToolInfo(TTTOOLINFOA& ti, CWnd* wnd, UINT_PTR toolId) const {
    ti = TTTOOLINFOA{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = wnd ? wnd->m_hWnd : nullptr;
    ti.uId = toolId;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCSTR text, LPCRECT rect, UINT_PTR toolId) {
    TTTOOLINFOA ti;
    FillToolInfo(ti, wnd, toolId);
    ti.uFlags = 0;  // the owner relays mouse messages (RelayEvent)
    if (rect) ti.rect = *rect;
    else if (wnd) wnd->GetClientRect(&ti.rect);
    ti.lpszText = const_cast<LPSTR>(text ? text : "");
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR toolId) {
    TTTOOLINFOA ti;
    FillToolInfo(ti, wnd, toolId);
    ti.lpszText = const_cast<LPSTR>(text ? text : "");
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}
