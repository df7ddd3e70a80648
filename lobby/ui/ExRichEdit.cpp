#include "lobby/ui/ExRichEdit.h"

#include <ole2.h>

#include "lobby/ui/PanelRules.h"
#include "platform/AppServices.h"
#include "platform/imageole/ImageOleIds.h"

namespace {

struct Hold {
    explicit Hold(CCirSecLock& l) : lock(l) { lock.Lock(); }
    ~Hold() { lock.Unlock(); }
    CCirSecLock& lock;
};

template <class T>
void SafeRelease(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CExRichEdit, CRichEditCtrl)
    ON_NOTIFY_REFLECT(EN_LINK, OnLink)
END_MESSAGE_MAP()

void CExRichEdit::AppendColoredText(LPCSTR text, COLORREF color) {
    const long end = GetTextLength();
    SetSel(end, end);
    CHARFORMATA cf{};
    cf.dwMask = CFM_BOLD | CFM_COLOR | CFM_SIZE | CFM_FACE;
    cf.dwEffects = 0;
    cf.crTextColor = color;
    cf.yHeight = 200;
    lstrcpynA(cf.szFaceName, "宋体", LF_FACESIZE);
    SetSelectionCharFormat(cf);
    ReplaceSel(text ? text : "", FALSE);
}

int CExRichEdit::AppendMessage(LPCSTR text, COLORREF color) {
    if (!m_pEmotes || !text || !*text) return -1;
    const auto& entries = m_pEmotes->Entries();
    // One pass over the line: a server line full of codes costs no stack.
    for (const ChatPiece& piece : ScanEmotes(text, [&](const std::string& c) { return entries.count(c) != 0; })) {
        // An emote that cannot be embedded shows as its code.
        if (!piece.emote || !InsertGif(entries.at(piece.text).c_str())) AppendColoredText(piece.text.c_str(), color);
    }
    return 0;
}

CString CExRichEdit::TakeGifError() {
    Hold hold(*this);
    CString text = m_gifError;
    m_gifError.Empty();
    return text;
}

BOOL CExRichEdit::InsertGif(LPCSTR path) {
    ILockBytes* bytes = nullptr;
    IStorage* storage = nullptr;
    IRichEditOle* richOle = nullptr;
    IOleClientSite* site = nullptr;
    IGifPlayer* player = nullptr;
    IOleObject* object = nullptr;
    HRESULT hr = ::CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes);
    if (SUCCEEDED(hr)) hr = ::StgCreateDocfileOnILockBytes(bytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0, &storage);
    if (SUCCEEDED(hr) && !SendMessage(EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&richOle))) hr = E_NOINTERFACE;
    if (SUCCEEDED(hr) && richOle) hr = richOle->GetClientSite(&site);
    if (SUCCEEDED(hr)) hr = ::CoCreateInstance(CLSID_GifPlayer, nullptr, 23, IID_IGifPlayer, reinterpret_cast<void**>(&player));
    if (SUCCEEDED(hr)) {
        wchar_t wide[MAX_PATH] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, path ? path : "", -1, wide, MAX_PATH);
        BSTR b = ::SysAllocString(wide);
        hr = player->LoadFromFile(b);
        ::SysFreeString(b);
    }
    if (SUCCEEDED(hr)) hr = player->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
    if (SUCCEEDED(hr)) hr = ::OleSetContainedObject(object, TRUE);
    CLSID clsid{};
    if (SUCCEEDED(hr)) hr = object->GetUserClassID(&clsid);
    if (SUCCEEDED(hr)) {
        REOBJECT reobject{};
        reobject.cbStruct = sizeof reobject;
        reobject.cp = REO_CP_SELECTION;
        reobject.clsid = clsid;
        reobject.poleobj = object;
        reobject.pstg = storage;
        reobject.polesite = site;
        reobject.dvaspect = DVASPECT_CONTENT;
        reobject.dwFlags = REO_BELOWBASELINE;
        const long end = GetTextLength();
        SetSel(end, end);
        hr = richOle->InsertObject(&reobject);
    }
    if (SUCCEEDED(hr)) {
        SendMessage(EM_SCROLLCARET);
        VARIANT_BOOL animated = VARIANT_FALSE;
        player->IsAnimated(&animated);
        object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, m_hWnd, nullptr);
        object->DoVerb(OLEIVERB_SHOW, nullptr, site, 0, m_hWnd, nullptr);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    SafeRelease(object);
    SafeRelease(player);
    SafeRelease(site);
    SafeRelease(richOle);
    SafeRelease(storage);
    SafeRelease(bytes);
    if (FAILED(hr)) {
        Hold hold(*this);
        if (m_gifFailed) return FALSE;  // told once
        m_gifFailed = true;
        char* message = nullptr;
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<LPSTR>(&message), 0, nullptr);
        m_gifError = message ? message : "";
        if (m_gifError.IsEmpty()) m_gifError.Format("0x%08lX", static_cast<unsigned long>(hr));
        if (message) ::LocalFree(message);
        return FALSE;
    }
    return TRUE;
}

void CExRichEdit::Clear() {
    SendMessage(EM_HIDESELECTION, TRUE);
    SetReadOnly(FALSE);
    SetSel(0, -1);
    ReplaceSel("", FALSE);
    {
        Hold hold(*this);
        m_links.clear();
    }
    const long end = GetTextLength();
    SetSel(end, end);
    SetReadOnly(TRUE);
    SendMessage(EM_HIDESELECTION, FALSE);
}

void CExRichEdit::AddLink(long position, LPCSTR text, LPCSTR target) {
    Hold hold(*this);
    m_links.push_back({position, text, target});
}

int CExRichEdit::GetObjectCount() const {
    IRichEditOle* richOle = nullptr;
    if (!SendMessage(EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&richOle)) || !richOle) return 0;
    const int n = static_cast<int>(richOle->GetObjectCount());
    richOle->Release();
    return n;
}

void CExRichEdit::OnLink(NMHDR* header, LRESULT* result) {
    *result = 0;
    auto* link = reinterpret_cast<ENLINK*>(header);
    if (link->msg != WM_LBUTTONUP) return;
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&link->chrg));
    CString target;
    {
        Hold hold(*this);
        for (const Link& l : m_links)
            if (l.position == link->chrg.cpMin) target = l.target;
    }
    if (!target.IsEmpty()) ::ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}
