// The main window's pop-up notices: each new one opens right above the last.
#pragma once

#include <vector>

#include "lobby/net/base/Locks.h"
#include "lobby/ui/DlgPopMsg.h"

class CPopMsgList : public CCirSecLock {
public:
    ~CPopMsgList() override;
    // The new pop-up's id (from 1), 0 when it cannot be made.
    int Show(LPCSTR text, LPCSTR caption, int displayTime, CWnd* owner, int style);
    // The offsets that put a new pop-up right above the last open one (5, 5 with none).
    void NextOffsets(int& x, int& y);
    // 1 when the pop-up of that id was deleted.
    int Remove(int id);
    CDlgPopMsg* Find(int id);
    int GetCount();

private:
    std::vector<CDlgPopMsg*> m_list;
    int m_nLastId = 0;
};
