// A lobby page showing a web page (dialog 151): back, forward, refresh, stop
// and close buttons on a 22-pixel strip, the web view below it, made on the
// first navigation. Commands from the page go to the main lobby window.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lobby/ui/PngButton.h"
#include "lobby/ui/web/MyHtmlView.h"
#include "platform/Framework.h"

class CDlgOrderWeb : public CDialog {
public:
    enum { IDD = 151, kViewId = 10299, kStripHeight = 22 };
    explicit CDlgOrderWeb(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // Ignored before the dialog is ready; postData and headers may be null.
    void Navigate(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR postData = nullptr,
                  LPCSTR headers = nullptr);
    // As Navigate, on a timer of the page's, so that whoever opens the page
    // does not wait for its web view to be made, and the messages and paints
    // waiting by then come first. A Navigate in between wins.
    void NavigateSoon(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR postData, LPCSTR headers);
    void SetSkipNextNavigate(int skip) { view_.SetSkipNextNavigate(skip); }
    void GetLocationURL(CString& url) const { url = view_.GetSafeHwnd() ? view_.GetLocationURL() : CString(); }
    void SetPageKey(int key) { pageKey_ = key; }
    int GetPageKey() const { return pageKey_; }
    // 0 hides the close button; set before the window is made.
    void SetCloseButton(int show) { closeButton_ = show; }
    CMyHtmlView& GetView() { return view_; }
    BOOL PreTranslateMessage(MSG* msg) override;

    // kMsgWebPage: 0 a page command (heap text, freed here), 1 and 2 passed to
    // the view.
    LRESULT OnPageCommand(WPARAM wParam, LPARAM lParam);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    void OnBack() { view_.GoBack(); }
    void OnForward() { view_.GoForward(); }
    void OnRefreshPage() { view_.Refresh(); }
    void OnStop() { view_.Stop(); }
    void OnClosePage();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()

private:
    CRect ViewRect() const;

    // NavigateSoon's arguments; a null text is absent.
    struct Pending {
        std::optional<std::string> url, targetFrame, postData, headers;
        DWORD flags = 0;
    };

    CMyHtmlView view_;
    CPngButton1 buttons_[5];
    int pageKey_ = -1;
    int closeButton_ = 1;
    bool ready_ = false;
    std::unique_ptr<Pending> pending_;
};
