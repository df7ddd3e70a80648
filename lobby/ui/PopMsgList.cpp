#include "lobby/ui/PopMsgList.h"

#include <new>

namespace {
struct Hold {
    explicit Hold(CCirSecLock& l) : lock(l) { lock.Lock(); }
    ~Hold() { lock.Unlock(); }
    CCirSecLock& lock;
};
}  // namespace

CPopMsgList::~CPopMsgList() {
    Hold hold(*this);
    for (CDlgPopMsg* pop : m_list) delete pop;
    m_list.clear();
}

void CPopMsgList::NextOffsets(int& x, int& y) {
    Hold hold(*this);
    x = y = 5;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (CDlgPopMsg* pop : m_list) {
        const CRect target = pop->GetTargetRect();
        x = work.right - target.right;
        y = work.bottom - target.top;
    }
}

int CPopMsgList::Show(LPCSTR text, LPCSTR caption, int displayTime, CWnd* owner, int style) {
    Hold hold(*this);
    auto* pop = new (std::nothrow) CDlgPopMsg;
    if (!pop) return 0;
    pop->SetId(++m_nLastId);
    pop->SetOwner(owner ? owner->m_hWnd : nullptr);
    int x = 5, y = 5;
    NextOffsets(x, y);
    pop->SetOffsets(x, y);
    pop->SetTexts(text, caption, displayTime, style);
    if (!pop->Create(CDlgPopMsg::IDD, CWnd::FromHandle(::GetDesktopWindow()))) {
        delete pop;
        return 0;
    }
    pop->ShowWindow(SW_SHOWNOACTIVATE);
    m_list.push_back(pop);
    return pop->GetId();
}

int CPopMsgList::Remove(int id) {
    Hold hold(*this);
    for (auto it = m_list.begin(); it != m_list.end(); ++it) {
        if ((*it)->GetId() == id) {
            delete *it;
            m_list.erase(it);
            return 1;
        }
    }
    return 0;
}

CDlgPopMsg* CPopMsgList::Find(int id) {
    Hold hold(*this);
    for (CDlgPopMsg* pop : m_list)
        if (pop->GetId() == id) return pop;
    return nullptr;
}

int CPopMsgList::GetCount() {
    Hold hold(*this);
    return static_cast<int>(m_list.size());
}
