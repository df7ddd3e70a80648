// CExplorer: an HTML dialog showing a web page inside a window (the side
// panel's advertisement view). Enter, Escape and right clicks never reach
// the page; its "ButtonCancel" element ends the dialog.
#pragma once

#include "game/ui/PanelResource.h"
#include "platform/com/DHtmlDialog.h"

class CExplorer : public CDHtmlDialog {
public:
    enum { IDD = IDD_EXPLORER, IDH = IDR_EXPLORER_HTML };

    explicit CExplorer(CWnd* parent = nullptr);
    BOOL Create(UINT templateId, CWnd* parent) { return CDialog::Create(templateId, parent); }
    BOOL PreTranslateMessage(MSG* msg) override;
    int DocumentComplete() const { return m_documentComplete; }

protected:
    HRESULT OnButtonCancel(IHTMLElement*);
    void OnDocumentComplete(IDispatch* disp, LPCSTR url) override;
    void OnNavigateComplete(IDispatch* disp, LPCSTR url) override;

    int m_documentComplete = 0;

    DECLARE_DHTML_EVENT_MAP()
};
