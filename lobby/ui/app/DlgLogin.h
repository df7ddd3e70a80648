// The login dialog (dialog 133): runs the start-up loading steps, then logs in
// with the typed user name and password on the login step.
#pragma once

#include "lobby/net/startup/Loading.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/app/DlgLoginTop.h"
#include "platform/controls/HyperLink.h"
#include "platform/Framework.h"

class CMyMiraboGameApp;
class CNLogin;

class CDlgLogin : public CDialog {
public:
    enum { IDD = 133 };
    explicit CDlgLogin(CWnd* parent = nullptr);
    ~CDlgLogin() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    LRESULT OnLoadingDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewerClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnLoginStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnSlide(WPARAM wParam, LPARAM lParam);
    LRESULT OnBannerNotice(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    int ApplyNotice(const char* text);
    void StartLogin();
    void CheckLoginResult();
    void ReEnable();
    void ShowStatus(const char* text);
    void OnClientTooOld();

    void ApplySkin();
    void PlaceBanner();
    void SlideStep(UINT_PTR timer);
    void SetSlideState(int state);

    CMyMiraboGameApp& app_;
    CPngButton1 start_, exit_;
    CHyperLink regLink_, findLink_;
    CDlgLoginTop banner_;
    int slideState_ = 0;  // 0 up under the banner, 1 sliding, 2 down
    HBRUSH editBrush_ = nullptr;
    CLoading loading_;
    CNLogin* login_;
    bool ready_ = false;
    bool loggingIn_ = false;
    bool statusShown_ = false;
    bool tooOld_ = false;
    int dots_ = 0;
};

// Shows the login dialog start-up asks for (the command-line one or this one).
INT_PTR RunLoginDialog(CMyMiraboGameApp& app);
