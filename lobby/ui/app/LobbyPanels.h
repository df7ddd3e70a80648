// The four panel dialogs of the main lobby window, with what the main
// window's handlers use of them: the top bar (129), the left panel with the
// game tree (130), the middle page area with its page map (131) and the right
// panel of the room (132). Their drawn content comes separately.
#pragma once

#include <string>

#include "lobby/ui/KvTreeCtrl.h"
#include "lobby/ui/PageWndMap.h"
#include "platform/Framework.h"

class CMessage;

constexpr UINT kMsgMainCommand = WM_USER + 5555;
constexpr UINT kMsgRoomMessage = WM_USER + 6150;

class CDlgTop : public CDialog {
public:
    enum { IDD = 129 };
    explicit CDlgTop(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
};

class CDlgLeft : public CDialog {
public:
    enum { IDD = 130 };
    explicit CDlgLeft(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
    // Redraws the player card and the online count.
    void Refresh() { Invalidate(); }

    CKvTreeCtrl m_tree;
    int m_roomState = 0;
    int m_totalCount = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnSelChanged(NMHDR*, LRESULT* result);
    void OnDblClk(NMHDR*, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void PostText(int code, const std::string& text);
    int OfferGameDownload(const std::string& code);
    bool m_ready = false;
};

class CDlgMid : public CDialog {
public:
    enum { IDD = 131 };
    explicit CDlgMid(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
    // Adds the window as a page (hidden, in the page rectangle) and selects
    // it; returns its id, -1 for a null window.
    int AddPage(LPCSTR title, CWnd* window);
    // Removes the page and tells the main window (code 1).
    void ClosePage(int id);
    CWnd* GetPageWnd(int id) { return m_pages.GetPage(id); }
    int ActivatePage(int id) { return m_pages.ShowPage(id) ? 1 : 0; }
    void SetTitle(LPCSTR title) { m_title = title; }

    CPageWndMap m_pages;
    CRect m_pageRect;
    CString m_title;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    int m_nextId = 1;
    bool m_ready = false;
};

class CDlgRight : public CDialog {
public:
    enum { IDD = 132 };
    explicit CDlgRight(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
    void ClearChat() {}

protected:
    void OnOK() override {}
    void OnCancel() override {}
    // A room message (wParam the kind code, lParam the message, deleted here).
    LRESULT OnRoomMessage(WPARAM code, LPARAM message);
    DECLARE_MESSAGE_MAP()
};
