#include "lobby/ui/web/DlgAdvWeb.h"

namespace {
const UINT_PTR kCloseTimer = 1;
}

BEGIN_MESSAGE_MAP(CDlgAdvWeb, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void CDlgAdvWeb::SetPage(LPCSTR address, int width, int height, int closeSeconds) {
    address_ = address ? address : "";
    width_ = width;
    height_ = height;
    closeSeconds_ = closeSeconds;
}

BOOL CDlgAdvWeb::OnInitDialog() {
    CDialog::OnInitDialog();
    if (width_ > 0 && height_ > 0) SetWindowPos(nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER);
    CRect client;
    GetClientRect(&client);
    const int viewBottom = client.bottom > kButtonRow ? client.bottom - kButtonRow : 0;
    if (CWnd* close = GetDlgItem(IDOK)) {
        CRect button;
        close->GetWindowRect(&button);
        close->MoveWindow(client.right - button.Width() - 4, viewBottom + (kButtonRow - button.Height()) / 2,
                          button.Width(), button.Height());
    }
    // Without a browser the page stays blank and the dialog works on.
    if (view_.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                     CRect(0, 0, client.right, viewBottom), this, kViewId))
        view_.Navigate2(address_);
    CenterWindow();
    if (closeSeconds_ > 0) SetTimer(kCloseTimer, static_cast<UINT>(closeSeconds_) * 1000);
    return TRUE;
}

void CDlgAdvWeb::OnTimer(UINT_PTR id) {
    if (id != kCloseTimer) return;
    KillTimer(kCloseTimer);
    EndDialog(IDOK);
}
