// The modeless web window of the login notice (dialog 135, page 103). It
// deletes itself when its window is gone.
#pragma once

#include "platform/com/DHtmlDialog.h"

class CBrowser : public CDHtmlDialog {
public:
    enum { IDD = 135, IDH = 103 };
    explicit CBrowser(CWnd* parent = nullptr) : CDHtmlDialog(IDD, IDH, parent) {}

    bool IsClosed() const { return closed_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override { delete this; }
    void OnRButtonDown(UINT, CPoint) {}
    void OnRButtonUp(UINT, CPoint) {}
    HRESULT OnButtonOK(IHTMLElement*);
    HRESULT OnButtonCancel(IHTMLElement*);

    DECLARE_MESSAGE_MAP()
    DECLARE_DHTML_EVENT_MAP()

private:
    bool closed_ = false;
};

// Opens the address in a new browser window on that rectangle.
void OpenBrowser(LPCSTR address, int left, int top, int right, int bottom, CWnd* parent);
