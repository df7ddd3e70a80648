#include "lobby/ui/web/MyHtmlView.h"

#include <memory>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/WebRules.h"

BEGIN_MESSAGE_MAP(CMyHtmlView, CHtmlView)
    ON_MESSAGE(kMsgWebPage, OnRefresh)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CMyHtmlView::OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, const std::vector<BYTE>& postData,
                                    LPCSTR headers, BOOL* cancel) {
    const std::string target = url ? url : "";
    switch (DecideBeforeNavigate(target, std::string(GetLocationURL()))) {
        case NavigateDecision::kLoadFinished:
            loaded_ = 1;
            *cancel = TRUE;
            break;
        case NavigateDecision::kEvent:
            PostOwned(::GetParent(GetSafeHwnd()), kWebPageText, 0, HeapText(EventTextOf(target)));
            *cancel = TRUE;
            break;
        case NavigateDecision::kOtherPage:
            loaded_ = 0;
            error_ = 0;
            break;
        case NavigateDecision::kIntro:
        case NavigateDecision::kSamePage:
            break;
    }
    CHtmlView::OnBeforeNavigate2(url, flags, targetFrame, postData, headers, cancel);
}

void CMyHtmlView::OnNavigateComplete2(LPCSTR url) {
    if (error_ != 2) loaded_ = 1;
    CHtmlView::OnNavigateComplete2(url);
}

void CMyHtmlView::OnNavigateError(LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel) {
    error_ = 2;
    CHtmlView::OnNavigateError(url, frame, status, cancel);
}

LRESULT CMyHtmlView::OnRefresh(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1) {
        std::unique_ptr<char[]> address = TakeOwned(kWebPageText, lParam);
        if (skipNext_ == 1) skipNext_ = 0;
        else if (loaded_ == 1 && address) Navigate2(address.get());
    } else if (wParam == 2) {
        if (loaded_ == 1 && std::string(GetLocationURL()).find(kWebRefreshMark) != std::string::npos) Refresh();
    }
    return 0;
}
