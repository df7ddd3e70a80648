// The command-line login (dialog 153): a small skinned window that runs the
// loading steps and then logs in with the user name and stored digest the
// command line carried.
#pragma once

#include "lobby/net/startup/Loading.h"
#include "lobby/ui/EnBitmap.h"
#include "lobby/ui/PngButton.h"
#include "platform/Framework.h"

namespace Gdiplus {
class Image;
class Bitmap;
}  // namespace Gdiplus

class CMyMiraboGameApp;
class CNLogin;

class CDlgAutoLogin : public CDialog {
public:
    enum { IDD = 153 };
    explicit CDlgAutoLogin(CWnd* parent = nullptr);
    ~CDlgAutoLogin() override;

    void SetLoginInfo(LPCSTR user, LPCSTR digest, LPCSTR skinIni, LPCSTR commandLine);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    LRESULT OnLoadingDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewerClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnBannerNotice(WPARAM wParam, LPARAM lParam);
    LRESULT OnLoginStatus(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    int LoadSkin();
    void StartLogin();
    void CheckLoginResult();
    void StopLogin();
    void OnClientTooOld();

    CMyMiraboGameApp& app_;
    PngButton exit_;
    CString user_, digest_, skinIni_, commandLine_;
    CMyBitmap background_;
    Gdiplus::Image* exitImage_ = nullptr;
    Gdiplus::Image* picture1_ = nullptr;
    Gdiplus::Image* picture2_ = nullptr;
    int pictureState_ = 1;
    CString status_;
    bool statusChanged_ = false;
    Gdiplus::Bitmap* statusImage_ = nullptr;
    bool ready_ = false;
    bool loggingIn_ = false;
    bool statusShown_ = false;
    bool painted_ = false;  // the first paint is a start-up step of the trace
    bool tooOld_ = false;
    CLoading loading_;
    CNLogin* login_;
};
