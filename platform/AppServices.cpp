// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "platform/AppServices.h"

#include "platform/App.h"

BOOL AfxSocketInit() {
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started ? TRUE : FALSE;
}

BOOL AfxInitRichEdit2() {
    static const HMODULE module = ::LoadLibraryA("riched20.dll");
    return module ? TRUE : FALSE;
}

CString AfxGetAppName() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszAppName && *app->m_pszAppName) return CString(app->m_pszAppName);
    char path[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CString();
    CString name(path);
    int slash = name.ReverseFind('\\');
    if (slash >= 0) name = name.Mid(slash + 1);
    int dot = name.ReverseFind('.');
    if (dot > 0) name = name.Left(dot);
    return name;
}

int AfxMessageBox(LPCSTR text, UINT type, UINT) {
    HWND owner = nullptr;
    if (CWnd* main = AfxGetMainWnd()) {
        HWND h = main->GetSafeHwnd();
        if (h && ::IsWindow(h) && ::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId()) owner = h;
    }
    CString caption = AfxGetAppName();
    return ::MessageBoxA(owner, text ? text : "", caption, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
    char text[1024] = "";
    ::LoadStringA(AfxGetResourceHandle(), promptId, text, sizeof text);
    return AfxMessageBox(text, type, helpId);
}
