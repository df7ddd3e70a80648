#include "platform/Dialog.h"

#include "platform/App.h"

namespace {

// Messages go to AfxWndProc; the dialog manager's own procedure does nothing.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND TopLevelOf(HWND h) {
    while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    return h;
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.m_hWnd) control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

const DLGTEMPLATE* CDialog::LoadTemplate() const {
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = ::FindResourceA(inst, m_lpszTemplateName, reinterpret_cast<LPCSTR>(RT_DIALOG));
    HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
    return data ? static_cast<const DLGTEMPLATE*>(::LockResource(data)) : nullptr;
}

INT_PTR CDialog::DoModal() {
    const DLGTEMPLATE* tmpl = LoadTemplate();
    if (!tmpl) return -1;
    HWND owner = TopLevelOf(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    bool enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner) ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), tmpl, owner, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (h && ContinueModal()) {
        m_nFlags |= WF_SHOWONIDLE;
        RunModalLoop();
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_SHOWONIDLE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_lpszTemplateName = MAKEINTRESOURCEA(templateId);
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
    const DLGTEMPLATE* tmpl = LoadTemplate();
    if (!tmpl) return FALSE;
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), tmpl, parent ? parent->m_hWnd : nullptr,
                                          &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

// Ends the modal loop only: the owner is re-enabled by DoModal, so a box
// ended while another modal box is open leaves the owner disabled.
void CDialog::EndDialog(int result) { EndModalLoop(result); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::HandleInitDialog() {
    CRect before;
    GetWindowRect(&before);
    BOOL result = OnInitDialog();
    // A dialog that did not move itself is centred over its owner.
    CRect after;
    GetWindowRect(&after);
    if (!(GetStyle() & WS_CHILD) && after.TopLeft() == before.TopLeft()) CenterWindow();
    return result;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return HandleInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    return input && ::IsDialogMessageA(m_hWnd, msg);
}
