#include "lobby/ui/app/MiraboGameDlg.h"

#include <memory>

#include "lobby/ui/DlgMes.h"
#include "lobby/ui/app/MessageBoxRequest.h"

BEGIN_MESSAGE_MAP(CMyMiraboGameDlg, CDialog)
    ON_MESSAGE(kMsgShowMessageBox, OnShowMessageBox)
END_MESSAGE_MAP()

BOOL CMyMiraboGameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText("游戏大厅");
    return TRUE;
}

LRESULT CMyMiraboGameDlg::OnShowMessageBox(WPARAM, LPARAM lParam) {
    std::unique_ptr<MessageBoxRequest> request(reinterpret_cast<MessageBoxRequest*>(lParam));
    if (!request) return 0;
    return ShowLobbyMessageBox(request->text, request->caption, request->style, request->countFlag,
                               request->seconds, request->linkFlag, this);
}
