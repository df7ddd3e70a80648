// The system's colour picker as a modal dialog. The window is ours while the
// picker runs: its hook calls OnInitDialog, where a subclass may move it.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "platform/Dialog.h"

class CColorDialog : public CDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override { return TRUE; }
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORA m_cc{};

private:
    static UINT_PTR CALLBACK Hook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    COLORREF m_custom[16]{};
};
