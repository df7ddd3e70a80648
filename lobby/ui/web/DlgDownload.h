// The download dialog (dialog 150): fetches a game package through
// CMyHttpDownloader, which unpacks it, and shows progress, percent, module,
// speed, time left and the step on a skinned, shaped window. IDOK when the
// package is in place, IDCANCEL when it failed or was cancelled.
#pragma once

#include "lobby/net/download/MyHttpDownloader.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/WebRules.h"
#include "platform/Framework.h"

class CMyBitmap;

class CDlgDownload : public CDialog {
public:
    enum { IDD = 150 };
    explicit CDlgDownload(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
    ~CDlgDownload() override;

    // Where to ask for the package, its module name, and the downloader's
    // mode (1 unpacks). The package goes to folder (the program folder when empty).
    void SetTarget(LPCSTR host, int port, LPCSTR module, int mode, LPCSTR folder = nullptr);

    // How long the application server has to name the package once connected
    // (30 s unless set); past it the dialog fails as when it cannot be reached.
    void SetAnswerTimeout(UINT ms) { answerMs_ = ms; }

    int GetPercent() const { return percent_; }
    const CString& GetStatus() const { return status_; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void OnCancel() override;
    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    LRESULT OnDownloadEvent(WPARAM event, LPARAM value);

    DECLARE_MESSAGE_MAP()

private:
    void SetStatus(LPCSTR text);
    // Shows the text through the lobby's box queue and ends the dialog.
    void Finish(LPCSTR text, LPCSTR caption, int result);

    CString host_, module_, folder_;
    int port_ = 0;
    int mode_ = 0;
    CMyHttpDownloader downloader_;
    CString status_;
    int total_ = 0, received_ = 0, percent_ = 0;
    DownloadRate rate_;
    CMyBitmap* background_ = nullptr;
    Gdiplus::Image* progress_ = nullptr;
    Gdiplus::Image* cancelImages_[3] = {};  // down, on, up
    CPngButton1 cancel_;
    bool ended_ = false;
    UINT answerMs_ = 30000;
};
