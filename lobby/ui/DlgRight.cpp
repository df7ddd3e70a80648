#include "lobby/ui/DlgRight.h"

#include <cstdlib>
#include <memory>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/ui/ExColorDlg.h"
#include "lobby/ui/PanelRules.h"
#include "lobby/ui/RoomChatSender.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/SkinText.h"
#include "platform/CString.h"
#include "platform/AppServices.h"

namespace {

struct Hold {
    explicit Hold(CCirSecLock& l) : lock(l) { lock.Lock(); }
    ~Hold() { lock.Unlock(); }
    CCirSecLock& lock;
};

enum : UINT { kChatBox = 1016, kPlayerList = 1017, kChatInput = 1018, kSend = 1019, kFace = 1020, kColor = 1021, kClear = 1022 };
const COLORREF kWhite = 0xFFFFFF;
const char kColumns[] = "昵称,90;游戏币,90;性别,40;总局数,50;赢,50;输,50;平局,50;断线,50";

std::vector<CString> PlayerTexts(const RoomPlayerRecord& p) {
    CString money;
    money.Format("%d", p.number);
    return {p.nickname.c_str(), money, std::atoi(p.more[0].c_str()) == 1 ? "女" : "男", p.more[1].c_str(),
            p.more[2].c_str(), p.more[3].c_str(), p.more[4].c_str(), p.more[5].c_str()};
}

CRect ChildRect(CWnd& parent, CWnd& child) {
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgRight, CDialog)
    ON_BN_CLICKED(kSend, OnSendButton)
    ON_MESSAGE(kMsgChatEnter, OnEnter)
    ON_BN_CLICKED(kFace, OnFaceButton)
    ON_BN_CLICKED(kColor, OnColorButton)
    ON_BN_CLICKED(kClear, OnClearButton)
    ON_CBN_SELCHANGE(kChatInput, OnInputSelChange)
    ON_MESSAGE(kMsgFaceChosen, OnFaceChosen)
    ON_MESSAGE(kMsgRoomMessage, OnRoomMessage)
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWnd* CDlgRight::Control(CWnd& wnd, UINT id, LPCSTR cls, DWORD style) {
    if (HWND existing = ::GetDlgItem(m_hWnd, static_cast<int>(id))) {
        wnd.SubclassWindow(existing);
    } else {
        wnd.CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, CRect(0, 0, 60, 24), this, id);
        wnd.SetFont(CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))));
    }
    return &wnd;
}

BOOL CDlgRight::OnInitDialog() {
    CDialog::OnInitDialog();
    CSkinRes* skin = GetLobbySkin();
    AfxInitRichEdit2();
    Control(m_list, kPlayerList, WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER);
    Control(m_chat, kChatBox, RICHEDIT_CLASSA, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
    Control(m_input, kChatInput, "COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL);
    const UINT buttons[4] = {kSend, kFace, kColor, kClear};
    CPngButton1* pngs[4] = {&m_btnSend, &m_btnFace, &m_btnColor, &m_btnClear};
    for (int i = 0; i < 4; ++i) Control(*pngs[i], buttons[i], "BUTTON", BS_OWNERDRAW);
    m_btnSend.SetImages(skin->GetImage(17), skin->GetImage(18), skin->GetImage(17), skin->GetImage(17));
    for (int i = 1; i < 4; ++i) {
        Gdiplus::Image* image = skin->GetImage(13 + i);
        pngs[i]->SetImages(image, image, image, image);
    }
    for (CPngButton1* b : pngs) b->SetBkColor(skin->GetBkColor(2));
    LobbyStep("right panel controls");

    m_input.LimitText(256);
    m_chat.SetEmoteTable(&skin->GetFaceTable());
    m_chat.SetBackgroundColor(FALSE, skin->GetRightBkColor2());
    m_chat.SetEventMask(m_chat.GetEventMask() | ENM_LINK);
    m_chatColor = skin->GetRightTextColor2();

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_list.SetBkColor(skin->GetRightBkColor1());
    m_list.SetTextBkColor(skin->GetRightBkColor1());
    m_list.SetTextColor(skin->GetRightTextColor1());
    m_list.SetRowColors(skin->GetRightTextBk1(), skin->GetRightTextBk2());
    m_list.SetColumns(kColumns);
    m_list.LoadColumnWidths();
    for (int i = 0; i < skin->GetTextCount(); ++i) m_input.AddString(skin->GetText(i));
    m_chat.SetReadOnly(TRUE);
    m_bInit = TRUE;
    Layout();
    return TRUE;
}

void CDlgRight::Layout() {
    if (!m_bInit) return;
    Hold hold(*this);
    CRect client;
    GetClientRect(&client);
    const int W = client.Width(), H = client.Height();
    const CRect send = ChildRect(*this, m_btnSend), face = ChildRect(*this, m_btnFace);
    m_list.MoveWindow(16, 16, W - 32, H / 2 - 26);
    const int B = H - 10 - send.Height() - face.Height();
    m_chat.MoveWindow(16, H / 2 - 5, W - 32, B - (H / 2 - 5));
    int x = 16;
    for (CPngButton1* b : {&m_btnFace, &m_btnColor, &m_btnClear}) {
        const CRect r = ChildRect(*this, *b);
        b->MoveWindow(x, B, r.Width(), r.Height());
        x += r.Width() + 10;
    }
    const int sendX = W - 16 - send.Width(), sendY = B + face.Height();
    m_btnSend.MoveWindow(sendX, sendY, send.Width(), send.Height());
    const CRect input = ChildRect(*this, m_input);
    m_input.MoveWindow(16, sendY + 5, sendX - 5 - 16, input.Height() > 0 ? input.Height() : 24);
}

void CDlgRight::OnSize(UINT, int, int) {
    Default();
    Layout();
}

void CDlgRight::OnMove(int, int) {
    Default();
    if (!m_bInit) return;
    for (CWnd* w : std::initializer_list<CWnd*>{&m_list, &m_chat, &m_input, &m_btnSend, &m_btnFace, &m_btnColor, &m_btnClear})
        w->Invalidate();
}

BOOL CDlgRight::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    GetLobbySkin()->DrawFrame(dc, 0, 0, client.right, client.bottom, 1);
    return TRUE;
}

void CDlgRight::SendChat() {
    Hold hold(*this);
    CString typed;
    m_input.GetWindowText(typed);
    const std::string text = EscapeChatText(typed.GetString());
    if (text.empty()) return;
    const DWORD now = m_clock ? m_clock() : ::GetTickCount();
    if (now - m_lastSend < 2000) {
        m_chat.AppendColoredText("对不起,你说话的速度太快,请休息一下!\r\n", kWhite);
        m_chat.ScrollToEnd();
        return;
    }
    m_lastSend = now;
    CLobbyChatMsg message;
    message.system = false;
    message.color = m_chatColor;
    message.content = text;
    message.place = "room";
    {
        CLobbyData& data = GetLobbyData();
        LobbyLockGuard guard(data.lobbyLock);
        message.playerName = data.nickname;
    }
    message.target = "0";
    if (m_sender) m_sender(message);
    else SendRoomChat(GetLobbyData(), message);
    m_input.SetWindowText("");
}

CDlgFaceSel& CDlgRight::FacePicker() {
    // Made on first use: it decodes every emote of the skin.
    if (!m_faceSel.GetSafeHwnd()) {
        m_faceSel.SetEmoteTable(&GetLobbySkin()->GetFaceTable());
        m_faceSel.Create(CDlgFaceSel::IDD, this);
        m_faceSel.ShowWindow(SW_HIDE);
    }
    return m_faceSel;
}

void CDlgRight::OnFaceButton() {
    const CRect button = ChildRect(*this, m_btnFace);
    const int height = FacePickerHeight(static_cast<int>(FacePicker().GetCells().size()));
    ::SetWindowPos(m_faceSel.m_hWnd, HWND_TOP, button.left, button.bottom - height, 219, height, SWP_SHOWWINDOW);
    m_faceSel.SetFocus();
}

void CDlgRight::OnColorButton() {
    CRect button;
    m_btnColor.GetWindowRect(&button);
    CExColorDlg dlg(m_chatColor, this);
    dlg.SetPosition(button.left, button.top - 270);
    if (dlg.DoModal() == IDOK) m_chatColor = dlg.GetColor();
}

LRESULT CDlgRight::OnFaceChosen(WPARAM, LPARAM lParam) {
    const char* code = reinterpret_cast<const char*>(lParam);
    if (!code || !*code) return 0;
    CString text;
    m_input.GetWindowText(text);
    text += code;
    m_input.SetWindowText(text);
    return 0;
}

// What the chat shows of one line: a longer text from a server would take the
// chat seconds to lay out.
const size_t kMaxChatText = 500;
// More players than a room holds (a full list is cut there too): a server
// that keeps announcing new ones is not followed.
const int kMaxPlayerRows = 2000;

void CDlgRight::AppendLine(const std::string& text, COLORREF color) {
    const std::string plain = UnescapeChatText(text);
    if (m_chat.AppendMessage(plain.c_str(), color) < 0 && !plain.empty()) m_chat.AppendColoredText(plain.c_str(), color);
}

int CDlgRight::FindPlayer(const std::string& nickname) {
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
        const std::vector<CString>* texts = m_list.GetItemTexts(i);
        if (texts && !texts->empty() && nickname == (*texts)[0].GetString()) return i;
    }
    return -1;
}

void CDlgRight::AddPlayer(const RoomPlayerRecord& player) {
    const int row = m_list.AddItem(PlayerTexts(player));
    if (row >= 0) m_list.SetItemValue(row, m_nRows);
    ++m_nRows;
}

LRESULT CDlgRight::OnRoomMessage(WPARAM wParam, LPARAM lParam) {
    HandleRoomMessage(static_cast<int>(wParam), TakeOwned(kRightPanelMessage, lParam));
    // A picture the chat could not show is told once, with no lock held: the
    // socket thread waits for the lobby lock.
    const CString failure = m_chat.TakeGifError();
    if (!failure.IsEmpty()) AfxMessageBox(failure, MB_OK | MB_ICONERROR);
    return 0;
}

void CDlgRight::HandleRoomMessage(int kind, std::unique_ptr<CMessage> message) {
    if (!message) return;
    try {
        CLobbyData& data = GetLobbyData();
        LobbyLockGuard lobby(data.lobbyLock);  // the lobby lock before the panel's
        Hold hold(*this);
        switch (kind) {
            case kRoomChat: {
                if (message->kind != kMsgLobbyChat) break;
                auto* chat = static_cast<CLobbyChatMsg*>(message.get());
                const std::string content = CutText(chat->content, kMaxChatText);
                if (chat->system) {
                    m_chat.InsertGif(GetLobbySkin()->GetFaceSystemPath());
                    AppendLine(content, chat->color);
                } else {
                    AppendLine("[" + CutText(chat->playerName, kMaxChatText) + "]: ", kWhite);
                    AppendLine(content + "\r\n", chat->color);
                }
                m_chat.ScrollToEnd();
                break;
            }
            case kRoomPlayerLeft: {
                if (message->kind != kMsgRoomPlayerLeave) break;
                const std::string& who = static_cast<CRoomPlayerLeave*>(message.get())->player;
                const int row = FindPlayer(who);
                if (row >= 0) m_list.DeleteItem(row);
                AppendLine("[" + CutText(who, kMaxChatText) + "]离开房间\r\n", kWhite);
                break;
            }
            case kRoomPlayerList: {
                if (message->kind != kMsgRoomPlayerList) break;
                auto* list = static_cast<CRoomPlayerList*>(message.get());
                m_list.DeleteAllItems();
                m_nRows = 0;
                for (const RoomPlayerRecord* p : list->entries)
                    if (p && p->nickname == data.nickname) {
                        AddPlayer(*p);
                        break;
                    }
                for (const RoomPlayerRecord* p : list->entries)
                    if (p && p->nickname != data.nickname) AddPlayer(*p);
                break;
            }
            case kRoomPlayerChanged: {
                if (message->kind != kMsgRoomPlayerRef) break;
                const RoomPlayerRecord& p = static_cast<CRoomPlayerRef*>(message.get())->player;
                const int row = FindPlayer(p.nickname);
                if (row >= 0) {
                    const std::vector<CString> texts = PlayerTexts(p);
                    for (int c = 1; c < static_cast<int>(texts.size()); ++c) m_list.SetItemText(row, c, texts[c]);
                } else if (m_list.GetItemCount() < kMaxPlayerRows) {
                    AddPlayer(p);
                    AppendLine("[" + CutText(p.nickname, kMaxChatText) + "]进入房间\r\n", kWhite);
                }
                break;
            }
            default:
                break;
        }
    } catch (...) {
    }
}

void CDlgRight::ClearChat() {
    Hold hold(*this);
    m_chat.SendMessage(WM_SETREDRAW, FALSE);
    m_chat.Clear();
    m_chat.SendMessage(WM_SETREDRAW, TRUE);
    m_chat.Invalidate();
}
