// Common controls wrapped as CWnd classes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/Wnd.h"

class CButton : public CWnd {
public:
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }

    // Owner-drawn buttons paint here; the parent passes WM_DRAWITEM on.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

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
