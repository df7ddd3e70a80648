// The main lobby window (dialog 102, "游戏大厅"). For now it shows the boxes
// other windows ask for.
#pragma once

#include "platform/Framework.h"

class CMyMiraboGameDlg : public CDialog {
public:
    enum { IDD = 102 };
    explicit CMyMiraboGameDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

protected:
    BOOL OnInitDialog() override;
    LRESULT OnShowMessageBox(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
