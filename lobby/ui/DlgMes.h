// The lobby's modal message box: the text as a picture beside the skin's
// icon, OK (and Cancel), an optional count-down that ends the box by itself
// and an optional link, in the skinned frame.
#pragma once

#include "lobby/ui/DSkinWin.h"
#include "lobby/ui/HyperLink2.h"
#include "lobby/ui/PngButton.h"
#include "platform/Dialog.h"

namespace Gdiplus {
class Bitmap;
}

const UINT kDlgMesTemplate = 146;
const UINT kDlgMesCountLabel = 1020;

class CDlgMes : public CDialog {
public:
    explicit CDlgMes(CWnd* parent = nullptr);
    ~CDlgMes() override;

    // flag 0 none, 1 ends with OK, other ends with Cancel.
    void SetCountdown(int flag, int seconds);
    // style 1: OK and Cancel; other: OK only.
    void SetStyle(int style) { m_nStyle = style; }
    void SetText(LPCSTR text, LPCSTR caption, int linkFlag);
    void SetCenterOnWorkArea(int flag) { m_bCenterWorkArea = flag; }

    const CString& GetText() const { return m_text; }
    int GetLinkFlag() const { return m_nLinkFlag; }
    const CString& GetLinkLabel() const { return m_linkLabel; }
    const CString& GetLinkAddress() const { return m_linkAddress; }
    int GetSeconds() const { return m_nSeconds; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    LRESULT OnSizeMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);

    CDSkinWin m_skinWin;
    CPngButton1 m_btnOk, m_btnCancel;
    CWnd m_countLabel;
    CHyperLink2 m_link;

private:
    void SetRoundRegion();
    int ButtonHeight() const;

    CString m_text, m_caption, m_linkLabel, m_linkAddress;
    Gdiplus::Bitmap* m_pTextImage = nullptr;
    int m_nStyle = 0, m_nCountFlag = 0, m_nSeconds = -1, m_nLinkFlag = 0;
    int m_bCenterWorkArea = 0, m_bReady = 0;

    DECLARE_MESSAGE_MAP()
};

// Shows the box modally and returns its result (IDOK, IDCANCEL).
INT_PTR ShowLobbyMessageBox(LPCSTR text, LPCSTR caption, int style, int countFlag, int seconds, int linkFlag,
                            CWnd* parent = nullptr);
