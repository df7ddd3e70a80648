// The right panel of the lobby (dialog 132): the room's player list over the
// room chat, with the chat input, its buttons, the emote picker and the
// colour dialog. Room messages arrive as kMsgRoomMessage (wParam kind, lParam a
// lobby message this panel deletes). Controls the template lacks are made here.
#pragma once

#include <winsock2.h>

#include <functional>
#include <memory>

#include "lobby/net/base/Locks.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/ui/DlgFaceSel.h"
#include "lobby/ui/ExComboBox.h"
#include "lobby/ui/ExRichEdit.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/SortListCtrl.h"

enum { kRoomChat = 0, kRoomPlayerLeft = 1, kRoomPlayerList = 2, kRoomPlayerChanged = 3 };

class CDlgRight : public CDialog, public CCirSecLock {
public:
    enum { IDD = 132 };
    explicit CDlgRight(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // The main window's room-chat sender; by default SendRoomChat on the lobby data.
    void SetChatSender(std::function<void(const CLobbyChatMsg&)> sender) { m_sender = std::move(sender); }
    void SetClock(std::function<DWORD()> clock) { m_clock = std::move(clock); }
    void ClearChat();
    COLORREF GetChatColor() const { return m_chatColor; }

    CSortListCtrl& List() { return m_list; }
    CExRichEdit& Chat() { return m_chat; }
    CExComboBox& Input() { return m_input; }
    // The emote picker, made (hidden) on first use.
    CDlgFaceSel& FacePicker();

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

protected:
    void SendChat();
    void OnSendButton() { SendChat(); }
    LRESULT OnEnter(WPARAM, LPARAM) {
        SendChat();
        return 0;
    }
    void OnFaceButton();
    void OnColorButton();
    void OnClearButton() { ClearChat(); }
    void OnInputSelChange() {}
    LRESULT OnFaceChosen(WPARAM, LPARAM lParam);
    LRESULT OnRoomMessage(WPARAM wParam, LPARAM lParam);
    // Under the lobby lock, then the panel's.
    void HandleRoomMessage(int kind, std::unique_ptr<CMessage> message);
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    BOOL OnEraseBkgnd(CDC* dc);

    void Layout();
    void AddPlayer(const RoomPlayerRecord& player);
    int FindPlayer(const std::string& nickname);
    void AppendLine(const std::string& text, COLORREF color);
    CWnd* Control(CWnd& wnd, UINT id, LPCSTR cls, DWORD style);

    CSortListCtrl m_list;
    CExRichEdit m_chat;
    CExComboBox m_input;
    CPngButton1 m_btnSend, m_btnFace, m_btnColor, m_btnClear;
    CDlgFaceSel m_faceSel;
    COLORREF m_chatColor = 0;
    DWORD m_lastSend = 0;
    int m_nRows = 0;
    BOOL m_bInit = FALSE;
    std::function<void(const CLobbyChatMsg&)> m_sender;
    std::function<DWORD()> m_clock;

    DECLARE_MESSAGE_MAP()
};
