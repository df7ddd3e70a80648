// The chat input: Enter asks the parent panel to send (WM_USER+1345).
#pragma once

#include "platform/Framework.h"

const UINT kChatEnter = WM_USER + 1345;

class CExComboBox : public CComboBox {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) ::PostMessageA(::GetParent(m_hWnd), kChatEnter, 0, 0);
        return CComboBox::PreTranslateMessage(msg);
    }
};
