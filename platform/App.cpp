#include "platform/App.h"

#include <ole2.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

AFX_MODULE_STATE& StaticState() {
    static AFX_MODULE_STATE state = {reinterpret_cast<HINSTANCE>(&__ImageBase),
                                     reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr};
    return state;
}

thread_local AFX_MODULE_STATE* t_moduleState = nullptr;

}  // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState() { return &StaticState(); }

AFX_MODULE_STATE* AfxGetModuleState() { return t_moduleState ? t_moduleState : &StaticState(); }

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) : m_pPrevState(t_moduleState) {
    t_moduleState = state;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() { t_moduleState = m_pPrevState; }

HINSTANCE AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }
HINSTANCE AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }
void AfxSetResourceHandle(HINSTANCE resource) { AfxGetModuleState()->m_hCurrentResourceHandle = resource; }
CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

// ---- CWinApp --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) {
    AFX_MODULE_STATE& state = StaticState();
    state.m_pCurrentWinApp = this;
    m_hInstance = state.m_hCurrentInstanceHandle;
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE& state = StaticState();
    if (state.m_pCurrentWinApp == this) state.m_pCurrentWinApp = nullptr;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    HWND main = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    return CWnd::WalkPreTranslateTree(main, msg);
}

BOOL CWinApp::IsIdleMessage(MSG* msg) {
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        // A mouse move to where the cursor already was is no reason for idle work.
        if (m_ptCursorLast.x == msg->pt.x && m_ptCursorLast.y == msg->pt.y && msg->message == m_nMsgLast)
            return FALSE;
        m_ptCursorLast = msg->pt;
        m_nMsgLast = msg->message;
        return TRUE;
    }
    return msg->message != WM_PAINT && msg->message != 0x0118;  // 0x0118: the caret's blink timer
}

BOOL CWinApp::OnIdle(LONG) {
    AfxDeleteTempMaps();
    return FALSE;
}

int CWinApp::Run() {
    MSG msg;
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        if (!::GetMessageA(&msg, nullptr, 0, 0)) return ExitInstance();
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (IsIdleMessage(&msg)) {
            idle = true;
            idleCount = 0;
        }
    }
}

namespace {

int RunApp(CWinApp* app) {
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

}  // namespace

int AfxWinMain(HINSTANCE instance, LPSTR cmdLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    // OLE on the window thread for the program's life: hosted controls and web views need it.
    const bool ole = SUCCEEDED(::OleInitialize(nullptr));
    int result = RunApp(app);
    if (ole) ::OleUninitialize();
    return result;
}

BOOL AfxDllMain(HINSTANCE instance, DWORD reason) {
    AFX_MODULE_STATE& state = StaticState();
    CWinApp* app = state.m_pCurrentWinApp;
    if (reason == DLL_PROCESS_ATTACH) {
        state.m_hCurrentInstanceHandle = state.m_hCurrentResourceHandle = instance;
        if (app) {
            app->m_hInstance = instance;
            return app->InitInstance();
        }
    } else if (reason == DLL_PROCESS_DETACH && app) {
        app->ExitInstance();
    }
    return TRUE;
}
