// The four panel dialogs of the main lobby window, with what the main
// window's handlers use of them: the top bar (129), the left panel with the
// game tree (130), the middle page area with its page map (131) and the right
// panel of the room (132).
#pragma once

#include <memory>
#include <string>

#include "lobby/ui/KvTreeCtrl.h"
#include "lobby/ui/PageWndMap.h"
#include "lobby/ui/DlgRight.h"  // the right panel (132): players and room chat
#include "lobby/ui/PngButton.h"
#include "lobby/ui/SkinTabCtrl.h"
#include "platform/Framework.h"

class CMessage;

class CDlgTop : public CDialog {
public:
    enum { IDD = 129 };
    explicit CDlgTop(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // The title of the last opened link page and its page id (-1 none).
    CString m_linkTitle;
    int m_linkPageId = -1;
    CPngButton1 m_buttons[9];  // 1008, 1011, 1010, 1009, 1012, 1013, 1014, 1015 (links), 1016 (close)

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLink(UINT id);
    // The link page of the middle area, titled and navigated to the address.
    void OpenLinkPage(LPCSTR title, const CString& address);
    DECLARE_MESSAGE_MAP()
};

class CDlgLeft : public CDialog {
public:
    enum { IDD = 130 };
    explicit CDlgLeft(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
    // Redraws the player card and the online count.
    void Refresh() { Invalidate(); }

    CKvTreeCtrl m_tree;
    struct ImageDelete {
        void operator()(Gdiplus::Image* image) const;
    };
    std::unique_ptr<Gdiplus::Image, ImageDelete> m_treeBk;  // the tree's background picture
    int m_roomState = 0;
    int m_totalCount = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
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
    // Adds the window as a page with a tab (hidden, in the page rectangle)
    // and selects it; returns its id (the tab's key), -1 for a null window.
    int AddPage(LPCSTR title, CWnd* window);
    // Asks the tab strip to close the page's tab; the strip's close report
    // removes the page and tells the main window (code 1).
    void ClosePage(int id);
    CWnd* GetPageWnd(int id) { return m_pages.GetPage(id); }
    int ActivatePage(int id);
    void SetPageText(int id, LPCSTR text) { m_tabs.SetTabText(id, text); }
    void SetTitle(LPCSTR title) { m_title = title; }
    // 1: the room buttons for the room state; 0: both hidden.
    void UpdateGameButtons(int flag);

    CPageWndMap m_pages;
    CSkinTabCtrl m_tabs;
    CRect m_pageRect;
    CString m_title;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint() { CPaintDC dc(this); }
    LRESULT OnTabCommand(WPARAM wParam, LPARAM lParam);
    void OnPanelButton(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    PngButton m_btnHideLeft, m_btnShowLeft, m_btnShowRight, m_btnHideRight;  // 1015, 1016, 1017, 1019
    int m_roomButtons = 0;
    bool m_ready = false;
};
