// The lobby's web view: a page that navigates to an event address hands the
// command to the window around it (kMsgWebPage, wParam 0, a heap text), a
// page that navigates to "javascript:loadfinish" is marked loaded, and the
// window around it asks it by message to navigate or refresh a loaded page.
#pragma once

#include "platform/com/HtmlView.h"

class CMyHtmlView : public CHtmlView {
public:
    bool IsLoaded() const { return loaded_ != 0; }
    int GetError() const { return error_; }
    void SetSkipNextNavigate(int skip) { skipNext_ = skip; }
    int GetSkipNextNavigate() const { return skipNext_; }

    void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, const std::vector<BYTE>& postData,
                           LPCSTR headers, BOOL* cancel) override;
    void OnNavigateComplete2(LPCSTR url) override;
    void OnNavigateError(LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel) override;

    // wParam 1: navigate a loaded page to the heap text in lParam (dropped
    // once after SetSkipNextNavigate(1)); 2: refresh a loaded member page.
    LRESULT OnRefresh(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }

    DECLARE_MESSAGE_MAP()

private:
    int loaded_ = 0;
    int skipNext_ = 0;
    int error_ = 0;
};
