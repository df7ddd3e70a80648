#include "lobby/ui/ExColorDlg.h"

BOOL CExColorDlg::OnInitDialog() {
    CColorDialog::OnInitDialog();
    if (m_nX > 0 && m_nY > 0) {
        CRect window, client;
        GetWindowRect(&window);
        GetClientRect(&client);
        MoveWindow(m_nX, m_nY, window.Width(), client.Height() + 25);
    }
    return TRUE;
}
