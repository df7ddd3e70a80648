// CPavlenDlg: the table window, the card-game client's main window, run
// modally. Its timer takes the received messages from both of the session's
// queues and handles them; the picture loader reports to it when the table
// pictures are ready.
#pragma once

#include "game/core/ClientLoading.h"
#include "game/ui/resource.h"
#include "platform/Framework.h"

class CMessage;

class CPavlenDlg : public CDialog {
public:
    enum { IDD = IDD_FENLO_DIALOG };
    static constexpr UINT_PTR kTimerId = 0x24604F39;
    static constexpr UINT kTimerMs = 25;
    // From the picture loader: wParam 1 loaded; 0 failed, lParam the text.
    static constexpr UINT kLoadedMessage = kImagesLoadedMessage;
    static constexpr const char* kTitle = "Mirabo斗地主";

    explicit CPavlenDlg(CWnd* parent = nullptr);
    ~CPavlenDlg() override;

    BOOL DestroyWindow() override;

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id);
    LRESULT OnLoaded(WPARAM result, LPARAM text);
    // Handles one message taken from a queue and deletes it; null is allowed.
    void HandleGameMessage(CMessage* message, const char* queue);

    CLoading m_loading;
    int m_setupComplete = 0;
    int m_lastAlive = -1;

    DECLARE_MESSAGE_MAP()
};
