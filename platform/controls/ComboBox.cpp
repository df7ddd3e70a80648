#include "platform/controls/ComboBox.h"

void CComboBox::GetLBText(int index, CString& text) const {
    int n = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
    if (n < 0) {
        text.Empty();
        return;
    }
    char* buf = text.GetBufferSetLength(n);
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf));
    text.ReleaseBuffer();
}
