// The chat input: Enter asks the parent panel to send (kMsgChatEnter).
#pragma once

#include "lobby/net/base/PrivateMessages.h"
#include "platform/Framework.h"

class CExComboBox : public CComboBox {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            ::PostMessageA(::GetParent(m_hWnd), kMsgChatEnter, 0, 0);
        return CComboBox::PreTranslateMessage(msg);
    }
};
