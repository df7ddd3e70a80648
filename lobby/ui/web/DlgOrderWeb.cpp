#include "lobby/ui/web/DlgOrderWeb.h"

#include <cstring>
#include <memory>
#include <string>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/WebRules.h"
#include "lobby/ui/web/WebHost.h"

namespace {
const int kBack = 1022, kForward = 1023, kRefresh = 1024, kStop = 1025, kClose = 1026;
const UINT_PTR kNavigateTimer = 1;
}

BEGIN_MESSAGE_MAP(CDlgOrderWeb, CDialog)
    ON_BN_CLICKED(kBack, OnBack)
    ON_BN_CLICKED(kForward, OnForward)
    ON_BN_CLICKED(kRefresh, OnRefreshPage)
    ON_BN_CLICKED(kStop, OnStop)
    ON_BN_CLICKED(kClose, OnClosePage)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_MESSAGE(kMsgWebPage, OnPageCommand)
END_MESSAGE_MAP()

void CDlgOrderWeb::DoDataExchange(CDataExchange* dx) {
    for (int i = 0; i < 5; ++i) DDX_Control(dx, kBack + i, buttons_[i]);
}

BOOL CDlgOrderWeb::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int i = 0; i < 5; ++i)
        if (Gdiplus::Image* image = GetLobbySkin()->GetImage(21 + i)) buttons_[i].SetImage(image);
    if (!closeButton_) buttons_[4].ShowWindow(SW_HIDE);
    ready_ = true;
    return TRUE;
}

BOOL CDlgOrderWeb::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

CRect CDlgOrderWeb::ViewRect() const {
    CRect client;
    GetClientRect(&client);
    client.top = kStripHeight < client.bottom ? kStripHeight : client.bottom;
    return client;
}

void CDlgOrderWeb::NavigateSoon(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR postData, LPCSTR headers) {
    if (!ready_) return;
    auto text = [](LPCSTR s) { return s ? std::optional<std::string>(s) : std::nullopt; };
    pending_.reset(new Pending{text(url), text(targetFrame), text(postData), text(headers), flags});
    // A timer's message comes only once no other message and no paint waits.
    if (!SetTimer(kNavigateTimer, USER_TIMER_MINIMUM)) pending_.reset();
}

void CDlgOrderWeb::OnTimer(UINT_PTR id) {
    if (id != kNavigateTimer) {
        Default();
        return;
    }
    KillTimer(kNavigateTimer);
    if (const std::unique_ptr<Pending> p = std::move(pending_)) {
        auto text = [](const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; };
        Navigate(text(p->url), p->flags, text(p->targetFrame), text(p->postData), text(p->headers));
    }
}

void CDlgOrderWeb::Navigate(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR postData, LPCSTR headers) {
    if (!ready_) return;
    pending_.reset();
    if (!view_.GetSafeHwnd()) {
        if (!view_.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, ViewRect(), this, kViewId))
            return;
        view_.ShowWindow(SW_SHOW);
    }
    view_.Navigate2(url, flags, targetFrame, headers, postData,
                    postData ? static_cast<DWORD>(std::strlen(postData)) : 0);
}

void CDlgOrderWeb::OnClosePage() {
    if (HWND main = LobbyMainWindow()) ::PostMessageA(main, kMsgClosePage, 0, static_cast<LPARAM>(pageKey_));
}

void CDlgOrderWeb::OnSize(UINT, int, int) {
    Default();
    if (!ready_) return;
    const CRect place = ViewRect();
    if (view_.GetSafeHwnd()) view_.MoveWindow(&place);
    Invalidate(FALSE);
}

void CDlgOrderWeb::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    {
        CMemDC memory(dc, CRect(0, 0, width, kStripHeight));
        GetLobbySkin()->DrawFrame(&memory, 0, 0, width, kStripHeight, 6);
    }
    // The web view is made on the first navigation: until then its place
    // shows an empty page, not whatever the screen held there.
    if (!view_.GetSafeHwnd()) {
        const CRect place = ViewRect();
        ::FillRect(dc, &place, ::GetSysColorBrush(COLOR_WINDOW));
    }
}

LRESULT CDlgOrderWeb::OnPageCommand(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1) {
        PostOwned(view_.GetSafeHwnd(), kWebPageText, 1, TakeOwned(kWebPageText, lParam));
        return 0;
    }
    if (wParam == 2) {
        if (view_.GetSafeHwnd()) ::PostMessageA(view_.GetSafeHwnd(), kMsgWebPage, 2, lParam);
        return 0;
    }
    if (wParam != 0) return 0;
    const std::unique_ptr<char[]> heap = TakeOwned(kWebPageText, lParam);
    const std::string text = heap ? heap.get() : "";
    const PageCommand command = ParsePageCommand(text);
    if (command.code != 0)
        if (HWND main = LobbyMainWindow())
            ::PostMessageA(main, kMsgMainCommand, static_cast<WPARAM>(command.code),
                           static_cast<LPARAM>(command.value));
    return 0;
}
