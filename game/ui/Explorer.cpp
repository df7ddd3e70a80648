#include "game/ui/Explorer.h"

BEGIN_DHTML_EVENT_MAP(CExplorer)
DHTML_EVENT_ONCLICK("ButtonCancel", OnButtonCancel)
END_DHTML_EVENT_MAP()

CExplorer::CExplorer(CWnd* parent) : CDHtmlDialog(IDD, IDH, parent) {}

BOOL CExplorer::PreTranslateMessage(MSG* msg) {
    switch (msg->message) {
    case WM_KEYDOWN:
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) return TRUE;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return TRUE;
    default:
        break;
    }
    return CDHtmlDialog::PreTranslateMessage(msg);
}

HRESULT CExplorer::OnButtonCancel(IHTMLElement*) {
    OnOK();
    return S_OK;
}

void CExplorer::OnDocumentComplete(IDispatch* disp, LPCSTR url) {
    CDHtmlDialog::OnDocumentComplete(disp, url);
    m_documentComplete = 1;
}

void CExplorer::OnNavigateComplete(IDispatch* disp, LPCSTR url) { CDHtmlDialog::OnNavigateComplete(disp, url); }
