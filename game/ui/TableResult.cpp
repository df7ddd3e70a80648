// The result dialog over the table: shown once the result's effects have run,
// removed on continue, back to the lobby, reconnect or the group movie.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/ReslutDlg.h"
#include "platform/vantor/CxImage.h"

void CPavlenDlg::ShowResultDialog() {
    CTableState& s = m_game.State();
    if (!m_resultDialog && !m_groupMovie) {
        CReslutDlg* dialog = new CReslutDlg(this);
        if (dialog->Create(IDD_RESULT_DIALOG, this)) {
            m_resultDialog = dialog;
            dialog->SetResult(s.FindPlayerBySeat(0), s.FindPlayerBySeat(1), s.FindPlayerBySeat(2), s.bombs,
                              s.resultKind);
            CGameImages* images = GetGameImages();
            CxImage* back = images ? images->Get(CReslutDlg::kBackground) : nullptr;
            const int wG = back ? static_cast<int>(back->GetWidth()) : 0;
            const int hG = back ? static_cast<int>(back->GetHeight()) : 0;
            int w = 0, h = 0;
            ClientSize(&w, &h);
            POINT at = {(w - wG - 200) / 2, (h - hG) / 2};
            ClientToScreen(&at);
            dialog->SetWindowPos(nullptr, at.x, at.y, wG, hG, SWP_NOZORDER | SWP_NOACTIVATE);
            dialog->ShowWindow(SW_SHOWNOACTIVATE);
            BringToFront();
        } else {
            delete dialog;
        }
    }
    m_game.OnResultShown();
}

void CPavlenDlg::DestroyResultDialog() {
    CReslutDlg* dialog = m_resultDialog;
    if (!dialog) return;
    if (dialog->m_hWnd) {
        dialog->ShowWindow(SW_HIDE);
        dialog->SetWindowPos(nullptr, -1000, -1000, -1000, -1000, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    m_resultDialog = nullptr;
    dialog->DestroyWindow();
    delete dialog;
}
