// Tooltips over a window's client area; the owner relays its mouse messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    // Tool over rect of wnd's client area (the whole client area when null).
    BOOL AddTool(CWnd* wnd, LPCSTR text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    void UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR toolId = 0);
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

private:
    void FillToolInfo(TTTOOLINFOA& ti, CWnd* wnd, UINT_PTR toolId) const;
};
