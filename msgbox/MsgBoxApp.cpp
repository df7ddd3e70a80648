// Moxbell.dll: its application object and the exported MyMessageBox.
#include "msgbox/MyMessageBox.h"
#include "msgbox/MyMsgBox.h"

class CMsgBoxApp : public CWinApp {
public:
    BOOL InitInstance() override { return CWinApp::InitInstance(); }
};

namespace {

CMsgBoxApp theApp;

// The box now open; a new call hides it.
CMyMsgBox* g_currentBox = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) { return AfxDllMain(instance, reason); }

extern "C" int MyMessageBox(const char* text, const char* caption, UINT type, int timeoutSeconds, CWnd* parent) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (g_currentBox) {
        g_currentBox->HideAndExpire();
        g_currentBox = nullptr;
    }
    CMyMsgBox box(text, caption, type, timeoutSeconds, parent);
    g_currentBox = &box;
    int result = static_cast<int>(box.DoModal());
    if (g_currentBox == &box) g_currentBox = nullptr;
    return result;
}
