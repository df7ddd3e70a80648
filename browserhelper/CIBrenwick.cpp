#include "browserhelper/CIBrenwick.h"

#include <shellapi.h>

#include <string>

#include "browserhelper/LaunchLink.h"
#include "platform/LogSink.h"
#include "platform/comserver/ComPtr.h"
#include "platform/comserver/ComVariant.h"

namespace {

const DISPID kBeforeNavigate2 = 250;
// BeforeNavigate2's arguments arrive last first: rgvarg[6] is the browser.
const UINT kBeforeNavigate2Args = 7;
const UINT kUrlArg = 5;
const UINT kCancelArg = 0;

// The url of the event as ANSI text; false when it is not text.
bool UrlText(const VARIANT& url, std::string& text) {
    ComVariant copy;
    if (FAILED(copy.CopyFrom(url)) || FAILED(copy.ChangeType(VT_BSTR))) return false;
    const BSTR wide = V_BSTR(copy.Get());
    const int length = static_cast<int>(SysStringLen(wide));
    if (length == 0) return true;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    text.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], bytes, nullptr, nullptr);
    return true;
}

}  // namespace

CIBrenwick::CIBrenwick() : TypeLibDispatch<IIBrenwick>(IID_IIBrenwick) {}

CIBrenwick::~CIBrenwick() {
    if (browser_) browser_->Release();
}

const ComInterfaceEntry* CIBrenwick::Interfaces() {
    static const ComInterfaceEntry table[] = {
        ComEntry<CIBrenwick, IIBrenwick>(IID_IIBrenwick),
        ComEntry<CIBrenwick, IIBrenwick>(IID_IDispatch),
        ComEntry<CIBrenwick, IObjectWithSite>(IID_IObjectWithSite),
        {},
    };
    return table;
}

HRESULT CIBrenwick::Create(REFIID iid, void** out) { return ComObject<CIBrenwick>::Create(iid, out); }

HRESULT CIBrenwick::SetSite(IUnknown* site) {
    // The browser holds our sink and we hold the browser: the site going
    // away is the one moment to break that circle.
    DisconnectBrowserEvents();
    if (!site) return S_OK;
    IWebBrowser2* browser = nullptr;
    site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    browser_ = browser;
    if (browser_ && !ConnectBrowserEvents())
        MessageBoxA(nullptr, "Failure sinking events from IWebBrowser2", "Brenwick", MB_OK);
    return S_OK;
}

BOOL CIBrenwick::ConnectBrowserEvents() {
    if (!browser_) return FALSE;
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (FAILED(browser_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) || !container ||
        FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put())) || !point)
        return FALSE;
    DWORD cookie = 0;
    if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie))) return FALSE;
    cookie_ = cookie;
    return TRUE;
}

void CIBrenwick::DisconnectBrowserEvents() {
    if (!browser_) return;
    if (cookie_) {
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) && container &&
            SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Put())) && point)
            point->Unadvise(cookie_);
        cookie_ = 0;
    }
    browser_->Release();
    browser_ = nullptr;
}

HRESULT CIBrenwick::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    // The browser's own frames lie below: an exception lets the navigation go on.
    return AfxStopExceptions([&] { return OnEvent(id, params); },
                             [&] { return "Brenwick's handler of browser event " + std::to_string(id); },
                             [] { return S_OK; });
}

HRESULT CIBrenwick::OnEvent(DISPID id, DISPPARAMS* params) {
    if (!params) return E_INVALIDARG;
    if (id != kBeforeNavigate2) return S_OK;
    // Anything not shaped like BeforeNavigate2 is let through untouched.
    if (params->cArgs < kBeforeNavigate2Args || !params->rgvarg) return S_OK;
    const VARIANT& url = params->rgvarg[kUrlArg];
    const VARIANT& cancel = params->rgvarg[kCancelArg];
    if (V_VT(&url) != (VT_BYREF | VT_VARIANT) || !V_VARIANTREF(&url)) return S_OK;
    if (V_VT(&cancel) != (VT_BYREF | VT_BOOL) || !V_BOOLREF(&cancel)) return S_OK;

    std::string text, tail;
    if (!UrlText(*V_VARIANTREF(&url), text)) return S_OK;
    switch (ReadLaunchLink(text, tail)) {
    case LaunchVerdict::NotALaunch: return S_OK;
    case LaunchVerdict::Refused: break;
    case LaunchVerdict::Launch: StartLobby(tail); break;
    }
    *V_BOOLREF(&cancel) = VARIANT_TRUE;
    return S_OK;
}

void CIBrenwick::StartLobby(const std::string& tail) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\MiraboGame", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        MessageBoxA(nullptr, "MiraboGame注册表信息读取失败,错误代码:0!", "错误", MB_OK);
        return;
    }
    char path[1024] = {};
    DWORD size = sizeof path - 1;  // the terminator always fits
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(key, "path", nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        MessageBoxA(nullptr, "MiraboGame注册表信息读取失败,错误代码:1!", "错误", MB_OK);
        return;
    }
    const std::string folder = WorkingFolderOf(path);
    ShellExecuteA(nullptr, "open", path, tail.c_str(), folder.empty() ? nullptr : folder.c_str(), SW_SHOW);
}
