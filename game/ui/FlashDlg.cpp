#include "game/ui/FlashDlg.h"

namespace flash {
const CLSID kClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
}  // namespace flash

namespace {
constexpr UINT kCloseSelf = WM_APP + 0x137;
// {3AF24292-0C96-11CE-A0CF-00AA00600AB8}
const IID kIidViewObjectEx = {0x3AF24292, 0x0C96, 0x11CE, {0xA0, 0xCF, 0x00, 0xAA, 0x00, 0x60, 0x0A, 0xB8}};
}  // namespace

BEGIN_MESSAGE_MAP(CFlashDlg, CDialog)
ON_WM_ERASEBKGND()
ON_MESSAGE(kCloseSelf, OnCloseSelf)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CFlashDlg, CDialog)
ON_EVENT(CFlashDlg, CFlashDlg::kHostId, flash::kFSCommand, OnFSCommand)
END_EVENTSINK_MAP()

CFlashDlg::CFlashDlg(LPCSTR moviePath, CWnd* parent) : CDialog(IDD, parent), m_moviePath(moviePath ? moviePath : "") {}

CFlashDlg::~CFlashDlg() {
    if (m_viewObject) m_viewObject->Release();
    DestroyWindow();
}

BOOL CFlashDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    CRect client(0, 0, 0, 0);
    if (parent) ::GetClientRect(parent, &client);
    // The window mode is set before the control is sited: the control takes
    // it as it is attached.
    auto transparent = [](IDispatch* control) {
        if (control)
            AfxInvokeHelper(control, flash::kWMode, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BSTR, "transparent");
    };
    if (!m_host.CreateControl(flash::kClsid, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, client.Width(), client.Height()),
                              this, kHostId, transparent)) {
        // No Flash here: nothing to show, and nothing to cover the table with.
        PostMessage(kCloseSelf);
        return TRUE;
    }
    m_host.GetControlUnknown()->QueryInterface(kIidViewObjectEx, reinterpret_cast<void**>(&m_viewObject));
    m_host.InvokeHelper(flash::kMovie, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BSTR, m_moviePath.GetString());
    m_host.InvokeHelper(flash::kBackgroundColor, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_I4, 0L);
    m_host.InvokeHelper(flash::kLoop, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL, FALSE);

    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) ^ WS_EX_LAYERED);
    if (HMODULE user = ::LoadLibraryA("User32.DLL")) {
        typedef BOOL(WINAPI * SetLayered)(HWND, COLORREF, BYTE, DWORD);
        if (auto set = reinterpret_cast<SetLayered>(
                reinterpret_cast<void*>(::GetProcAddress(user, "SetLayeredWindowAttributes"))))
            set(m_hWnd, RGB(0, 0, 0), 0, LWA_COLORKEY);
        ::FreeLibrary(user);
    }
    PlaceOverParent();
    return FALSE;  // no focus: the dialog manager's focus would activate the movie
}

// Over the parent's client area and just above the parent in the stacking (the
// table orders its floating windows above it), not activated: a window of
// another program over the parent stays over the movie too.
void CFlashDlg::PlaceOverParent() {
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    POINT origin = {0, 0};
    HWND after = HWND_TOP;
    UINT flags = SWP_NOSIZE | SWP_NOACTIVATE;
    if (parent) {
        ::ClientToScreen(parent, &origin);
        if (HWND above = ::GetWindow(parent, GW_HWNDPREV)) {
            after = above;
            if (above == m_hWnd) flags |= SWP_NOZORDER;
        }
    }
    ::SetWindowPos(m_hWnd, after, origin.x, origin.y, 0, 0, flags);
}

LRESULT CFlashDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    // The dialog centres a pop-up that set-up left where it was created.
    if (message == WM_INITDIALOG && HasControl()) PlaceOverParent();
    return result;
}

LRESULT CFlashDlg::OnCloseSelf(WPARAM, LPARAM) {
    DestroyWindow();
    return 0;
}
