#include "lobby/ui/web/WebHost.h"

#include <cstring>

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

char* NewWebText(const std::string& text) {
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void FreeWebText(LPARAM text) { delete[] reinterpret_cast<char*>(text); }

BOOL PostWebText(HWND window, UINT message, WPARAM wParam, const std::string& text) {
    char* copy = NewWebText(text);
    if (window && ::PostMessageA(window, message, wParam, reinterpret_cast<LPARAM>(copy))) return TRUE;
    delete[] copy;
    return FALSE;
}
