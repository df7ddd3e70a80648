// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/ui/PavlenDlg.h"

#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/core/NetEngineEx.h"
#include "game/ui/TableTrace.h"
#include "msgbox/MyMessageBox.h"

BEGIN_MESSAGE_MAP(CPavlenDlg, CDialog)
ON_WM_TIMER()
ON_MESSAGE(CPavlenDlg::kLoadedMessage, OnLoaded)
END_MESSAGE_MAP()

CPavlenDlg::CPavlenDlg(CWnd* parent) : CDialog(IDD, parent) {}

CPavlenDlg::~CPavlenDlg() = default;

BOOL CPavlenDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(kTitle);
    m_loading.Start(this);
    SetTimer(kTimerId, kTimerMs);
    return TRUE;
}

BOOL CPavlenDlg::DestroyWindow() {
    if (m_hWnd) KillTimer(kTimerId);
    return CDialog::DestroyWindow();
}

void CPavlenDlg::OnTimer(UINT_PTR id) {
    if (id == kTimerId) {
        CGameSession* session = GetGameSession();
        session->ShowNetworkErrorBox();
        CNetEngineEx* connection = session->GetConnection();
        const int alive = connection ? connection->IsAlive() : 0;
        if (alive != m_lastAlive) {
            m_lastAlive = alive;
            TableTrace("alive %d", alive);
        }
        HandleGameMessage(session->PopSecondaryMessage(), "second");
        HandleGameMessage(session->PopMessage(), "main");
    }
    CDialog::OnTimer(id);
}

void CPavlenDlg::HandleGameMessage(CMessage* message, const char* queue) {
    if (!message) return;
    TableTrace("%s %d", queue, message->typeId);
    delete message;
}

LRESULT CPavlenDlg::OnLoaded(WPARAM result, LPARAM text) {
    TableTrace("loaded %d", static_cast<int>(result));
    if (result == 0) {
        MyMessageBox(reinterpret_cast<const char*>(text), nullptr, 0, 0, nullptr);
        CDialog::OnCancel();
        return 0;
    }
    m_setupComplete = 1;
    Invalidate();
    return 0;
}
