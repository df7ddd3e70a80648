// A small web page in a dialog (dialog 143, page 106): the login banner's
// view. Its page may close it through "ButtonOK" / "ButtonCancel"; asked by
// kMsgWebWatch it follows a page whose address holds a watch text to another
// address, once.
#pragma once

#include "platform/com/DHtmlDialog.h"

class CDlgWeb : public CDHtmlDialog {
public:
    enum { IDD = 143, IDH = 106 };
    explicit CDlgWeb(CWnd* parent = nullptr) : CDHtmlDialog(IDD, IDH, parent) {}

    bool IsArmed() const { return armed_; }
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnNavigateComplete(IDispatch* disp, LPCSTR url) override;

    // wParam the watch text, lParam the follow-up address: heap texts, freed here.
    LRESULT OnWatch(WPARAM wParam, LPARAM lParam);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    HRESULT OnButtonOK(IHTMLElement*);
    HRESULT OnButtonCancel(IHTMLElement*);

    DECLARE_MESSAGE_MAP()
    DECLARE_DHTML_EVENT_MAP()

private:
    CString watch_, followUp_;
    bool armed_ = false;
};
