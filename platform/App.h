// The application object and module state.
//
// The framework is linked statically into each program and DLL, so each
// module has its own module state: its instance handle, the module its
// resources are loaded from, and its application object. A DLL's exported
// functions start with AFX_MANAGE_STATE(AfxGetStaticModuleState()) so that
// everything they load comes from the DLL.
#pragma once

#include <windows.h>

#include "platform/Wnd.h"

class CWinApp;

struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    CWinApp* m_pCurrentWinApp;
};

// This module's own state.
AFX_MODULE_STATE* AfxGetStaticModuleState();
// The state in force on this thread: the static one unless switched.
AFX_MODULE_STATE* AfxGetModuleState();

// Switches this thread to a module state for the life of the object.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p);

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The message loop of a program whose InitInstance returned TRUE.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // False for messages that come too often to start idle work.
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual BOOL OnIdle(LONG count);
    CWnd* GetMainWnd() const { return m_pMainWnd; }
    // An icon of the resource module; null when it has none of that id.
    HICON LoadIcon(UINT id) const { return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }
    // The registry key under which the program keeps its settings.
    void SetRegistryKey(LPCSTR company) { m_registryKey = company ? company : ""; }
    CString GetRegistryKey() const { return m_registryKey; }
    // Binary values under HKCU\Software\<registry key>\<program>\<section>.
    // Get hands out a new[] copy (delete[] by the caller) and FALSE when the
    // value is missing.
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes);

    DECLARE_MESSAGE_MAP()

private:
    CString m_registryKey;
    POINT m_ptCursorLast{-1, -1};
    UINT m_nMsgLast = 0;
};

// Program start-up (WinMain calls it): InitInstance, then Run or ExitInstance.
int AfxWinMain(HINSTANCE instance, LPSTR cmdLine, int cmdShow);
// A DLL's DllMain calls this: InitInstance on attach, ExitInstance on detach.
BOOL AfxDllMain(HINSTANCE instance, DWORD reason);
