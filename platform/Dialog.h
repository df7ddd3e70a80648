// Dialogs made from resource templates: modal (DoModal) or modeless (Create).
#pragma once

#include "platform/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds a member control to the dialog's child with that id (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr)
        : m_nIDHelp(templateId), m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent) {}

    // Runs the dialog in a nested message loop with its owner disabled and
    // returns the result given to EndDialog (-1 when it cannot be created).
    virtual INT_PTR DoModal();
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Dialog keys (Tab, Enter, Esc...) for keyboard and mouse input.
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDHelp;
    LPCSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    const DLGTEMPLATE* LoadTemplate() const;
    BOOL HandleInitDialog();
};
