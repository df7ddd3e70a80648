// The skinned strip of tabs above the lobby's page area. It tells its
// parent every selection (kMsgTabStrip, wParam 0, lParam key) and every close
// (wParam 1); the parent may close a tab by sending it wParam 100.
#pragma once

#include <vector>

#include "lobby/net/base/Locks.h"
#include "lobby/net/base/PrivateMessages.h"
#include "platform/Framework.h"

class CMyBitmap;

const UINT kTabCloseCommand = 32772;
const UINT kTabMenuId = 144;

// What the lobby application decides about closing a tab.
class CTabCloseRules {
public:
    virtual ~CTabCloseRules() = default;
    // FALSE: the key's page is the current room while its game runs.
    virtual BOOL CanCloseRoom(int key) = 0;
    virtual BOOL IsRoomSwitching() = 0;
    virtual int GetMemberPageKey() = 0;
    virtual void PostMessageBox(LPCSTR text, LPCSTR caption) = 0;
};

class CSkinTabCtrl;

class CSkinTabCtrlBtn {
public:
    CSkinTabCtrlBtn(int key, LPCSTR text, CSkinTabCtrl* owner, CFont* font);
    virtual ~CSkinTabCtrlBtn() = default;

    void SetRect(const CRect& rect);
    void Draw(CDC* dc);

    int m_nKey;
    CString m_text;
    CSkinTabCtrl* m_pOwner;
    CFont* m_pFont;
    CRect m_rect, m_textRect;
    int m_nWidth = 95, m_nHeight = 27;
    int m_nState = 2;  // 1 selected, 2 normal
    COLORREF m_keyColor = RGB(255, 0, 255), m_selTextColor = RGB(255, 255, 255), m_textColor = RGB(255, 255, 255);
    CMyBitmap* m_pImage1 = nullptr;
    CMyBitmap* m_pImage2 = nullptr;
};

class CSkinTabCtrl : public CWnd, public CCirSecLock {
public:
    ~CSkinTabCtrl() override;

    BOOL Create(const RECT& rect, CWnd* parent, CFont* font);
    void SetBkColor(COLORREF color) { m_bkColor = color; }
    BOOL SetImages(CMyBitmap* selected, CMyBitmap* normal);
    void SetSelTextColor(COLORREF color) { m_selTextColor = color; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SetCaption(LPCSTR text) { m_caption = text; }
    void ShowCaption(BOOL show) { m_bShowCaption = show; }
    void SetCloseRules(CTabCloseRules* rules) { m_pRules = rules; }
    void SetRoomFlag(BOOL flag) { m_bRoomFlag = flag; }
    BOOL GetRoomFlag() const { return m_bRoomFlag; }

    int AddTab(LPCSTR text);
    BOOL SelectTab(int key);
    // Marks the tab selected and the former one normal and repaints, telling
    // no one; FALSE when there is no such tab.
    BOOL ActivateTab(int key);
    int GetSelectedKey();
    BOOL SetTabText(int key, LPCSTR text);
    void RemoveAllTabs();
    BOOL CloseTab(int key);
    int GetTabCount();
    // The tab's rectangle in the strip; empty when there is none.
    CRect GetTabRect(int key);
    // The tab's state (1 selected, 2 normal); 0 when there is none.
    int GetTabState(int key);

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnCloseCommand();
    LRESULT OnStripMessage(WPARAM wParam, LPARAM lParam);

private:
    CSkinTabCtrlBtn* Find(int key);
    CSkinTabCtrlBtn* HitTest(CPoint point);
    // Selects the tab under a click; the parent is told even when no tab was
    // selected before, so its page shows.
    BOOL ClickSelect(CSkinTabCtrlBtn* tab);
    void Notify(WPARAM what, int key) { if (m_pParent) m_pParent->SendMessage(kMsgTabStrip, what, key); }

    CWnd* m_pParent = nullptr;
    CFont* m_pFont = nullptr;
    std::vector<CSkinTabCtrlBtn*> m_tabs;
    int m_nLastKey = -1;
    CRect m_next{-14, 0, 81, 27};
    CMyBitmap* m_pSelImage = nullptr;
    CMyBitmap* m_pImage = nullptr;
    COLORREF m_selTextColor = RGB(255, 255, 255), m_textColor = RGB(255, 255, 255), m_bkColor = 0;
    CString m_caption;
    BOOL m_bShowCaption = FALSE;
    COLORREF m_captionColor = RGB(39, 145, 0);
    CTabCloseRules* m_pRules = nullptr;
    BOOL m_bRoomFlag = FALSE;

    DECLARE_MESSAGE_MAP()
};
