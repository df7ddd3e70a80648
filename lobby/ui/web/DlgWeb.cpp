#include "lobby/ui/web/DlgWeb.h"

#include <string>

#include "lobby/ui/web/WebHost.h"

BEGIN_MESSAGE_MAP(CDlgWeb, CDHtmlDialog)
    ON_MESSAGE(kWebWatchMessage, OnWatch)
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
    watch_ = wParam ? reinterpret_cast<LPCSTR>(wParam) : "";
    followUp_ = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    FreeWebText(static_cast<LPARAM>(wParam));
    FreeWebText(lParam);
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
