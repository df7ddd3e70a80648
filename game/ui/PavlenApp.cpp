// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/ui/PavlenApp.h"

#include <commctrl.h>

#include <cstdio>

#include "game/core/ClientCommandLine.h"
#include "game/core/CrashDump.h"
#include "game/core/GameSession.h"
#include "game/core/TableStep.h"
#include "game/ui/GameImages.h"
#include "game/ui/GameTableSide.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/resource.h"
#include "msgbox/MyMessageBox.h"
#include "platform/AppServices.h"

namespace {

// Threads that decode the table's pictures ahead: enough to share the work
// on a machine of a few cores, few enough to leave the window its own.
const int kPictureThreads = 3;

CPavlenApp theApp;

}  // namespace

BEGIN_MESSAGE_MAP(CPavlenApp, CWinApp)
END_MESSAGE_MAP()

CPavlenApp::CPavlenApp() = default;

CPavlenApp::~CPavlenApp() {
    DestroyGameSession();
    if (m_instanceSemaphore) ::CloseHandle(m_instanceSemaphore);
}

BOOL CPavlenApp::InitInstance() {
    // First of all, so that an exception anywhere in the client's run, a C++
    // one included, leaves a dump.
    InstallCrashDump();
    TableStep("start");
    // Then the table's pictures are decoded while the client starts; its
    // window and its loading step take them. A client that ends at once (its
    // command line, a second copy) stops the threads in ExitInstance.
    StartTablePicturePrefetch(CPavlenDlg::FramePictureFiles(), kPictureThreads);
    ::InitCommonControls();
    CWinApp::InitInstance();
    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
        return FALSE;
    }
    AfxEnableControlContainer();
    AfxInitRichEdit2();
    m_richEdit = ::LoadLibraryA("riched20.dll");
    SetRegistryKey("应用程序向导生成的本地应用程序");
    InstallGameTableSide();
    TableStep("controls and rich edit");
    CGameSession* session = GetGameSession();
    if (!ApplyCommandLine(CString(m_lpCmdLine), *session)) return FALSE;
    if (!TakeInstance()) return FALSE;
    TableStep("command line");
    const int connecting = session->ConnectAndValidate();
    TableStep("connect and validate");
    if (!connecting) {
        MyMessageBox("错误:\n打开config.ini文件时缺少了version字段,\n强烈建议您重新安装!", nullptr, 0, 0, nullptr);
        return FALSE;
    }

    CPavlenDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

bool CPavlenApp::TakeInstance() {
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 1, 1, kSemaphoreName);
    if (semaphore && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        m_instanceSemaphore = semaphore;
        return true;
    }
    if (semaphore) ::CloseHandle(semaphore);
    if (FILE* marker = std::fopen(kMarkerFile, "r")) {
        std::fclose(marker);
        return true;
    }
    return false;
}

BOOL CPavlenApp::IsIdleMessage(MSG* msg) {
    if (!CWinApp::IsIdleMessage(msg)) return FALSE;
    const UINT m = msg->message;
    if ((m >= 0x0200 && m <= 0x020D) || (m >= 0x00A0 && m <= 0x00A9) || m == WM_TIMER) return FALSE;
    return TRUE;
}

int CPavlenApp::ExitInstance() {
    EndTablePicturePrefetch();
    if (m_richEdit) {
        ::FreeLibrary(m_richEdit);
        m_richEdit = nullptr;
    }
    return CWinApp::ExitInstance();
}
