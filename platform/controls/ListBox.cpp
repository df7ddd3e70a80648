#include "platform/controls/ListBox.h"

void CListBox::GetText(int index, CString& text) const {
    int n = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (n < 0) {
        text.Empty();
        return;
    }
    char* buf = text.GetBufferSetLength(n);
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf));
    text.ReleaseBuffer();
}
