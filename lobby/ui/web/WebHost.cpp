#include "lobby/ui/web/WebHost.h"

#include "platform/Framework.h"

namespace {
HWND g_mainWindow = nullptr;
LobbyBoxSender g_boxSender = nullptr;
}  // namespace

HWND LobbyMainWindow() {
    if (g_mainWindow) return g_mainWindow;
    CWnd* main = AfxGetMainWnd();
    return main ? main->GetSafeHwnd() : nullptr;
}

void SetLobbyMainWindow(HWND window) { g_mainWindow = window; }

void SetLobbyBoxSender(LobbyBoxSender sender) { g_boxSender = sender; }

int SendLobbyBox(LPCSTR text, LPCSTR caption, int style) { return g_boxSender ? g_boxSender(text, caption, style) : -1; }
