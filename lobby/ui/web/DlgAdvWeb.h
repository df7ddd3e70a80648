// The advertisement page (dialog 155): a web view over the dialog above its
// close button 1, the window sized to the page's width and height, closed
// with IDOK when the close time has passed.
#pragma once

#include "platform/Framework.h"
#include "platform/com/HtmlView.h"

class CDlgAdvWeb : public CDialog {
public:
    enum { IDD = 155, kViewId = 10299, kButtonRow = 28 };
    explicit CDlgAdvWeb(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    void SetPage(LPCSTR address, int width, int height, int closeSeconds);
    CHtmlView& GetView() { return view_; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()

private:
    CString address_;
    int width_ = 400, height_ = 400, closeSeconds_ = 10;
    CHtmlView view_;
};
