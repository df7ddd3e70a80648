#include "lobby/ui/web/DlgWeb.h"

#include <memory>
#include <string>

#include "lobby/net/base/PrivateMessages.h"

BEGIN_MESSAGE_MAP(CDlgWeb, CDHtmlDialog)
    ON_MESSAGE(kMsgWebWatch, OnWatch)
END_MESSAGE_MAP()

BEGIN_DHTML_EVENT_MAP(CDlgWeb)
    DHTML_EVENT_ONCLICK("ButtonOK", OnButtonOK)
    DHTML_EVENT_ONCLICK("ButtonCancel", OnButtonCancel)
END_DHTML_EVENT_MAP()

BOOL CDlgWeb::OnInitDialog() {
    SetHostFlags(5);  // dialog, no 3-D border
    CDHtmlDialog::OnInitDialog();
    return TRUE;
}

BOOL CDlgWeb::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return TRUE;
    return CDHtmlDialog::PreTranslateMessage(msg);
}

HRESULT CDlgWeb::OnButtonOK(IHTMLElement*) {
    EndDialog(IDOK);
    return S_OK;
}

HRESULT CDlgWeb::OnButtonCancel(IHTMLElement*) {
    OnCancel();
    return S_OK;
}

LRESULT CDlgWeb::OnWatch(WPARAM wParam, LPARAM lParam) {
    const std::unique_ptr<char[]> watch = TakeOwned(kWebWatchText, static_cast<LPARAM>(wParam));
    const std::unique_ptr<char[]> followUp = TakeOwned(kWebWatchText, lParam);
    watch_ = watch ? watch.get() : "";
    followUp_ = followUp ? followUp.get() : "";
    armed_ = true;
    return 0;
}

void CDlgWeb::OnNavigateComplete(IDispatch* disp, LPCSTR url) {
    CDHtmlDialog::OnNavigateComplete(disp, url);
    if (armed_ && url && std::string(url).find(std::string(watch_)) != std::string::npos) {
        armed_ = false;
        Navigate(followUp_);
    }
}
