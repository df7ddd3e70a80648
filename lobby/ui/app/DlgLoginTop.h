// The banner above the login panel (dialog 154): slide, partner-site login
// and close buttons, the client version; moving it moves the panel.
#pragma once

#include "lobby/ui/PngButton.h"
#include "lobby/ui/web/DlgWeb.h"
#include "platform/Framework.h"

class CDlgLoginTop : public CDialog {
public:
    enum { IDD = 154 };
    // The login panel, up, covers the banner's bottom this many pixels.
    static constexpr int kPanelOverlap = 110;
    explicit CDlgLoginTop(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    void SetSlideState(int state) { slideState_ = state; }
    void SetPlaced(bool placed) { placed_ = placed; }
    CDlgWeb& GetWebView() { return web_; }
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void PlaceButtons(const CSize& picture);
    void OnSlide();
    void OnPartnerLogin();
    void OnCloseLogin();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMove(int x, int y);
    void OnLButtonDown(UINT flags, CPoint point);
    LRESULT OnNotice(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CPngButton1 slide_, partner_, close_;
    CDlgWeb web_;
    int slideState_ = 0;
    bool placed_ = false;
};
