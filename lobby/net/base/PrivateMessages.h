// The lobby's private window messages, one table: each message's number, who
// sends it to whom, what wParam and lParam carry, and who frees what lParam
// hands over. A heap payload travels only with PostOwned, which frees it when
// the post fails (no window, a window gone, a full queue), or SendOwned; once
// it has arrived, the receiver takes it with TakeOwned and frees it on every
// path. A window that
// goes with such messages still queued frees them itself (CRoomWnd).
//
// The numbers are the program's own: WM_USER+2008 means three things, told
// apart by the window that receives it (room page, login dialog, right panel).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/CString.h"

class CMessage;

// A message number with the type of the heap object its lParam hands over;
// an array type (char[]) for a new[] text.
template <class T>
struct OwnedMessage {
    UINT id;
};

// ---- payloads -------------------------------------------------------------------

// A lobby message box to show (CDlgMes through ShowLobbyMessageBox).
struct MessageBoxRequest {
    CString text;
    CString caption;
    int style = 0;  // 1 asks for confirmation (IDOK confirms), 0 informs
    int countFlag = 0;
    int seconds = 0;
    int linkFlag = 0;
};

// A pop-up notice to show (CPopMsgList).
struct PopupNoticeRequest {
    CString text;
    CString caption;
    int time = 0;  // display time in ms, 0 until closed
    int flag = 0;
};

// Where the login banner moved to (screen coordinates).
struct BannerPosition {
    int x;
    int y;
};

// ---- the login dialogs (CDlgLogin, CDlgAutoLogin) and the banner (CDlgLoginTop) --

// From the start-up sequence (CLoading), once: wParam 1 every step done, lParam
// the notice text or null; wParam 0 a step failed, lParam its failure text.
// The texts stay the sequence's.
constexpr UINT kMsgLoadingDone = WM_USER + 1;
// From the login step: wParam 1, the server wants a newer client.
constexpr UINT kMsgNewerClient = WM_USER + 2;
// From the login step (and the auto-login dialog to itself): wParam 0, lParam
// a status line, which the dialog deletes.
constexpr UINT kMsgLoginStatus = WM_USER + 6131;
constexpr OwnedMessage<CString> kLoginStatusLine{kMsgLoginStatus};
// From a CHyperLink in notify-parent mode (its WM_HYPERLINK_CLICKED): lParam
// the link's control id.
constexpr UINT kMsgLinkClicked = WM_USER + 2008;
// Sent by the banner to the login dialog: wParam 0 with a BannerPosition the
// dialog deletes (the banner moved); wParam 1, slide the panel.
constexpr UINT kMsgSlide = WM_USER + 3100;
constexpr OwnedMessage<BannerPosition> kBannerMoved{kMsgSlide};
// To the banner, through the login dialog: wParam 0, lParam a notice text the
// banner shows and deletes. The auto-login dialog has no banner and ignores it.
constexpr UINT kMsgBannerNotice = WM_USER + 6130;
constexpr OwnedMessage<CString> kBannerNoticeText{kMsgBannerNotice};

// ---- the main lobby window (CMyMiraboGameDlg) -----------------------------------

// wParam 0, lParam a MessageBoxRequest the main window shows and deletes
// (posted by PostMessageBox, sent by SendMessageBox).
constexpr UINT kMsgShowMessageBox = WM_USER + 2009;
constexpr OwnedMessage<MessageBoxRequest> kMessageBoxRequest{kMsgShowMessageBox};
// A command, wParam its code 0 to 14 (MainCommands.cpp): codes 6, 7 and 13
// carry a text the main window deletes; 1 a page id, 4 a room id and 9 a match
// number in lParam; the others nothing.
constexpr UINT kMsgMainCommand = WM_USER + 5555;
constexpr OwnedMessage<CString> kMainCommandText{kMsgMainCommand};
// wParam 1: a PopupNoticeRequest shown and deleted; wParam 0: lParam the id of
// a pop-up that has gone (posted by CDlgPopMsg to its owner). To a pop-up
// (CDlgPopMsg) itself: wParam 0, an address (new[] text) it opens and frees.
constexpr UINT kMsgPopupNotice = WM_USER + 6120;
constexpr OwnedMessage<PopupNoticeRequest> kPopupNoticeRequest{kMsgPopupNotice};
constexpr OwnedMessage<char[]> kPopupAddress{kMsgPopupNotice};
// wParam 0: lParam the key of a page to close (a web page's close button).
constexpr UINT kMsgClosePage = WM_USER + 6666;
// No parameters: the data hub's queue has a message again (posted by the hub,
// CLobbyData::SetArrivalNotice); the pump takes it without waiting for its tick.
constexpr UINT kMsgPumpKick = WM_USER + 5557;

// ---- the room page (CRoomWnd, its desk view CExScrollView) and the waiting page --

// A room update, wParam its code: 0 the room id (a new[] 128-byte text);
// 1 game started, 2 game over, 3 player changed desk, 4 player state, 5 desk
// list, each with its lobby message. The main window posts 1 to 4 to the room
// window, which hands them to its view; the view frees what it gets. Codes
// above 5 are ignored, their lParam untouched.
constexpr UINT kMsgRoomUpdate = WM_USER + 2008;
constexpr OwnedMessage<char[]> kRoomIdText{kMsgRoomUpdate};
constexpr OwnedMessage<CMessage> kRoomUpdateMessage{kMsgRoomUpdate};
// To the waiting page (DlgCartoon): wParam 0 to 3, its reminder codes.
constexpr UINT kMsgWaitingPage = WM_USER + 5556;

// ---- the right panel (CDlgRight) --------------------------------------------------

// A room message, wParam its kind (0 chat, 1 player left, 2 player list,
// 3 player changed), lParam the lobby message, which the panel deletes.
constexpr UINT kMsgRoomMessage = WM_USER + 6150;
constexpr OwnedMessage<CMessage> kRightPanelMessage{kMsgRoomMessage};
// Sent by the emote picker (CDlgFaceSel): wParam 0, lParam the emote's code
// text, which stays the picker's.
constexpr UINT kMsgFaceChosen = WM_USER + 2008;
// Posted by the chat input (CExComboBox) on Enter: send the line.
constexpr UINT kMsgChatEnter = WM_USER + 1345;

// ---- web pages (lobby/ui/web) and the download dialog ---------------------------

// To a web page (CDlgOrderWeb) and its view (CMyHtmlView): wParam 0, from the
// view, a page command; 1 an address to navigate to; 2 refresh. 0 and 1 carry
// a new[] text the receiver frees; the page passes 1 and 2 on to its view.
constexpr UINT kMsgWebPage = WM_USER + 5600;
constexpr OwnedMessage<char[]> kWebPageText{kMsgWebPage};
// To the banner's web view (CDlgWeb): wParam the watch text, lParam the
// follow-up address, both new[] texts it frees.
constexpr UINT kMsgWebWatch = WM_USER + 4444;
constexpr OwnedMessage<char[]> kWebWatchText{kMsgWebWatch};
// From the downloader (CMyHttpDownloader) to the download dialog: wParam the
// event, lParam its value.
constexpr UINT kMsgDownload = WM_USER + 1648;

// ---- widgets to their parent ------------------------------------------------------

// Sent by a PngButton when pressed: wParam its control id.
constexpr UINT kMsgPngButtonPressed = WM_USER + 101;
// From an image link (CHyperLink2): wParam 0, its address (a new[] text) the
// parent opens and frees.
constexpr UINT kMsgImageLinkClicked = WM_USER + 5678;
constexpr OwnedMessage<char[]> kImageLinkAddress{kMsgImageLinkClicked};
// Between the tab strip (CSkinTabCtrl) and its parent: wParam 0 a tab chosen,
// 1 a tab closed, 100 close a tab (to the strip); lParam the page key.
constexpr UINT kMsgTabStrip = WM_APP + 0xA17;

// ---- posting and taking -----------------------------------------------------------

// Posts the payload with the message; false, and the payload freed, when the
// post fails. A null window fails (it would post to the thread, not a window).
template <class T>
bool PostOwned(HWND window, OwnedMessage<T> message, WPARAM wParam, std::unique_ptr<T> payload) {
    if (!window || !::PostMessageA(window, message.id, wParam, reinterpret_cast<LPARAM>(payload.get()))) return false;
    payload.release();
    return true;
}

// Sends the payload with the message: the receiver has it once this returns.
// Without a window the payload is freed here and the result is 0.
template <class T>
LRESULT SendOwned(HWND window, OwnedMessage<T> message, WPARAM wParam, std::unique_ptr<T> payload) {
    if (!window || !::IsWindow(window)) return 0;
    return ::SendMessageA(window, message.id, wParam, reinterpret_cast<LPARAM>(payload.release()));
}

// The receiver's side: what lParam (or a wParam that carries one) hands over.
template <class T>
std::unique_ptr<T> TakeOwned(OwnedMessage<T>, LPARAM value) {
    return std::unique_ptr<T>(reinterpret_cast<std::remove_extent_t<T>*>(value));
}

// A new[] copy of the text with its NUL, zero-filled to at least size bytes
// (the text cut to size - 1 bytes when longer).
inline std::unique_ptr<char[]> HeapText(const std::string& text, size_t size = 0) {
    const size_t length = size ? std::min(text.size(), size - 1) : text.size();
    std::unique_ptr<char[]> copy(new char[std::max(size, length + 1)]());
    std::memcpy(copy.get(), text.data(), length);
    return copy;
}
