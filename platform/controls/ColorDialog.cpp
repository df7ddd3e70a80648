#include "platform/controls/ColorDialog.h"

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : CDialog(0, parent) {
    for (COLORREF& c : m_custom) c = RGB(255, 255, 255);
    m_cc.lStructSize = sizeof m_cc;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = m_custom;
    m_cc.Flags = flags | CC_RGBINIT | CC_ENABLEHOOK;
    m_cc.lpfnHook = &CColorDialog::Hook;
    m_cc.lCustData = reinterpret_cast<LPARAM>(this);
}

UINT_PTR CALLBACK CColorDialog::Hook(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return 0;
    auto* self = reinterpret_cast<CColorDialog*>(reinterpret_cast<CHOOSECOLORA*>(lParam)->lCustData);
    if (!self) return 0;
    self->Attach(hwnd);
    self->OnInitDialog();
    return TRUE;
}

INT_PTR CColorDialog::DoModal() {
    m_cc.hwndOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    const BOOL chosen = ::ChooseColorA(&m_cc);
    if (m_hWnd) Detach();
    return chosen ? IDOK : IDCANCEL;
}
