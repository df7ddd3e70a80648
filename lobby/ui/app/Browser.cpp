#include "lobby/ui/app/Browser.h"

BEGIN_MESSAGE_MAP(CBrowser, CDHtmlDialog)
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

BEGIN_DHTML_EVENT_MAP(CBrowser)
    DHTML_EVENT_ONCLICK("ButtonOK", OnButtonOK)
    DHTML_EVENT_ONCLICK("ButtonCancel", OnButtonCancel)
END_DHTML_EVENT_MAP()

BOOL CBrowser::OnInitDialog() {
    SetHostFlags(0x84);  // flat scroll bars, no 3-D border
    CDHtmlDialog::OnInitDialog();
    return TRUE;
}

// Modeless: closing destroys the window.
void CBrowser::OnOK() { DestroyWindow(); }

void CBrowser::OnCancel() {
    Navigate("about:blank");
    closed_ = true;
    DestroyWindow();
}

HRESULT CBrowser::OnButtonOK(IHTMLElement*) {
    OnOK();
    return S_OK;
}

HRESULT CBrowser::OnButtonCancel(IHTMLElement*) {
    OnCancel();
    return S_OK;
}

void OpenBrowser(LPCSTR address, int left, int top, int right, int bottom, CWnd* parent) {
    auto* browser = new CBrowser(parent);
    if (!browser->Create(CBrowser::IDD, parent)) {
        delete browser;
        return;
    }
    browser->Navigate(address);
    ::MoveWindow(browser->GetSafeHwnd(), left, top, right - left, bottom - top, TRUE);
    ::SetActiveWindow(browser->GetSafeHwnd());
    browser->CenterWindow();
    ::ShowWindow(browser->GetSafeHwnd(), SW_SHOW);
}
