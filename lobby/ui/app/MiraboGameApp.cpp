// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/ui/app/MiraboGameApp.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "lobby/net/base/IniSection.h"
#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/binary/MsgCodeIni.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/startup/ServerConfig.h"
#include "lobby/ui/DlgMes.h"
#include "lobby/ui/GameSemaphores.h"
#include "lobby/ui/LoginRules.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/WebRules.h"
#include "lobby/ui/app/DlgLogin.h"
#include "lobby/ui/app/GdiPlusGuard.h"
#include "lobby/ui/app/GifOleCheck.h"
#include "lobby/ui/app/MiraboGameDlg.h"
#include "lobby/ui/web/DlgDownload.h"
#include "lobby/ui/web/WebHost.h"
#include "platform/AppServices.h"

namespace {

CMyMiraboGameApp theApp;

CString ReadIni(const CString& file, LPCSTR section, LPCSTR key) {
    char value[512] = "";
    ::GetPrivateProfileStringA(section, key, "", value, sizeof(value), file);
    return value;
}

CString ProgramPath() {
    char path[512] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

CString FolderOf(const CString& path) {
    std::string text(path);
    size_t slash = text.rfind('\\');
    return slash == std::string::npos ? CString() : CString(text.substr(0, slash + 1).c_str());
}

}  // namespace

CMyMiraboGameApp* GetLobbyApp() { return &theApp; }

BEGIN_MESSAGE_MAP(CMyMiraboGameApp, CWinApp)
END_MESSAGE_MAP()

CMyMiraboGameApp::CMyMiraboGameApp() : m_skin(GetLobbySkin()) {}

BOOL CMyMiraboGameApp::InitInstance() {
    LobbyStep("start");
    AfxEnableControlContainer();

    m_commandLine = m_lpCmdLine ? m_lpCmdLine : "";
    LobbyCommandLine command = ScanLobbyCommandLine(std::string(m_commandLine));
    if (command.kind == LobbyCommandLine::kRegister) {
        InstallBrowserHelper();
        return FALSE;
    }
    if (command.kind == LobbyCommandLine::kAutoLogin) {
        m_autoLogin = 1;
        m_cmdUser = command.user.c_str();
        m_cmdPassword = command.password.c_str();
    }

    SetLobbyBoxSender([](LPCSTR text, LPCSTR caption, int style) { return theApp.SendMessageBox(text, caption, style); });

    m_comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    AfxInitRichEdit2();
    m_programFolder = FolderOf(ProgramPath());
    LobbyStep("com and rich edit");

    if (!IsGifOleControlAvailable()) {
        ::CopyFileA(m_programFolder + "ImageOle.dll", "c:\\windows\\ImageOle.dll", FALSE);
        RegisterServerDll("c:\\windows\\ImageOle.dll");
    }
    LobbyStep("gif control");
    // The helper's registration shows nothing: it runs beside the reading of
    // the configuration and is done before any window shows, so that a lobby
    // seen on screen has registered (and a lobby ended then ends no copy).
    std::thread helperInstall([this] { InstallBrowserHelper(); });
    struct Joiner {
        std::thread& thread;
        ~Joiner() { if (thread.joinable()) thread.join(); }
    } joinHelperInstall{helperInstall};
    LobbyStep("browser helper");
    LoadConfig();
    LoadMessages();
    LobbyStep("config and messages");

    CLobbyData& hub = GetLobbyData();
    hub.ping = std::string(ping);
    hub.action = std::string(action);
    hub.versionxml = std::string(versionxml);
    for (int i = 0; i < 5; ++i) hub.timeText[i] = std::string(time[i]);
    hub.notice_url = std::string(notice_url);
    hub.SetServerConfigLoader([] { return GetServerConfig().Load(); });

    GetGdiPlusGuard().Initialize();
    LobbyStep("gdi+");
    // Read while the login runs; the first window that asks for it waits.
    m_skin->LoadInBackground(m_programFolder + "Skin\\Style1\\Skin.ini");
    LobbyStep("skin loading");

    helperInstall.join();
    LobbyStep("browser helper registered");
    if (IsAlreadyRunning()) {
        ::MessageBoxA(nullptr, "检测到游戏大厅已经开启,请先关闭原游戏大厅!", "错误", MB_OK);
        return FALSE;
    }
    m_versionLabel = CString("ver:") + version;

    INT_PTR result = RunLoginDialog(*this);
    LobbyStep("login dialog ended %d", static_cast<int>(result));
    if (result != IDOK) return FALSE;

    CMyMiraboGameDlg dlg;
    m_mainDlg = &dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    m_mainDlg = nullptr;
    return FALSE;
}

int CMyMiraboGameApp::ExitInstance() {
    GetLobbyData().Shutdown();
    m_skin->Release();
    ::Sleep(100);
    GetGdiPlusGuard().Deinitialize();
    if (m_comStarted) ::CoUninitialize();
    m_comStarted = false;
    return CWinApp::ExitInstance();
}

// Each section is read in one profile call, its keys then taken from it.
int CMyMiraboGameApp::LoadConfig() {
    const std::string file(ConfigFile());
    const IniSection url = ReadIniSection(file, "URL1"), system = ReadIniSection(file, "SYSTEM");
    auto text = [](const IniSection& section, LPCSTR key) { return CString(section.Value(key).c_str()); };
    auto number = [](const IniSection& section, LPCSTR key) { return std::atoi(section.Value(key).c_str()); };
    PartnerLoginWeb = text(url, "PartnerLoginWeb");
    PostWeb = text(url, "PostWeb");
    ClientWeb = text(url, "ClientWeb");
    LoginWeb = text(url, "LoginWeb");
    AdvWeb = text(url, "AdvWeb");
    AdvWidth = number(url, "AdvWidth");
    AdvHeight = number(url, "AdvHeight");
    AdvCloseTime = number(url, "AdvCloseTime");
    struct Page { CString* web; bool* show; const char* key; const char* showKey; } pages[] = {
        {&MainWeb, &MainWebShow, "MainWeb", "MainWebShow"}, {&SetWeb, &SetWebShow, "SetWeb", "SetWebShow"},
        {&PayWeb, &PayWebShow, "PayWeb", "PayWebShow"},     {&BBSWeb, &BBSWebShow, "BBSWeb", "BBSWebShow"},
        {&BCityWeb, &BCityWebShow, "BCityWeb", "BCityWebShow"}, {&PerWeb, &PerWebShow, "PerWeb", "PerWebShow"},
        {&HelpWeb, &HelpWebShow, "HelpWeb", "HelpWebShow"}, {&ShopWeb, &ShopWebShow, "ShopWeb", "ShopWebShow"}};
    for (const Page& page : pages) {
        *page.web = text(url, page.key);
        *page.show = url.Value(page.showKey) == "1";
    }
    RegWeb = text(url, "RegWeb");
    FindPassWeb = text(url, "FindPassWeb");
    ping = text(system, "ping");
    action = text(system, "action");
    versionxml = text(system, "versionxml");
    SvrSelect = number(system, "SvrSelect");
    static const char* const kTimes[5] = {"time1", "time2", "time3", "time4", "time5"};
    for (int i = 0; i < 5; ++i) time[i] = text(system, kTimes[i]);
    notice_url = text(system, "notice_url");
    AboutWeb = text(url, "AboutWeb");
    GetLobbyData().translateFlag = ReadIniSection(file, "MsgType").Value("Type") != "0";
    version = VersionFromXml(std::string(versionxml)).c_str();
    return 0;
}

int CMyMiraboGameApp::LoadMessages() {
    LoadLobbyMsgTable(std::string(m_programFolder), GetLobbyData().msgTable);
    return 1;
}

int CMyMiraboGameApp::InstallBrowserHelper() {
    const CString path = ProgramPath();
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\MiraboGame", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          &key, nullptr) == ERROR_SUCCESS)
        ::RegCloseKey(key);
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\MiraboGame", 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        ::RegSetValueExA(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.GetString()),
                         static_cast<DWORD>(path.GetLength()));
        ::RegCloseKey(key);
    }
    ::CopyFileA(FolderOf(path) + "Brenwick.dll", "c:\\windows\\Brenwick.dll", FALSE);
    RegisterServerDll("c:\\windows\\Brenwick.dll");
    return 1;
}

int CMyMiraboGameApp::RegisterServerDll(LPCSTR path) {
    HMODULE library = ::LoadLibraryA(path);
    if (!library) return 0;
    using RegisterFn = HRESULT(STDAPICALLTYPE*)();
    auto doRegister = reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(::GetProcAddress(library, "DllRegisterServer")));
    if (doRegister && SUCCEEDED(doRegister())) return 1;
    ::FreeLibrary(library);
    return 0;
}

int CMyMiraboGameApp::IsAlreadyRunning() {
    if (FILE* marker = std::fopen("MiraboDever.abc", "r")) {
        std::fclose(marker);
        m_developer = 1;
        return 0;
    }
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 1, 1, "MiraboGame");
    if (semaphore && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(semaphore);
        return 1;
    }
    m_instanceSemaphore = semaphore;
    return 0;
}

// Probes with OpenSemaphore: creating the client's semaphore here would turn
// away a client starting at that moment.
int CMyMiraboGameApp::IsGameRunning() {
    if (m_developer) return 0;
    return IsGameClientRunning() ? 1 : 0;
}

int CMyMiraboGameApp::CanCloseRoom(int pageId) {
    return pageId == m_roomPageId && IsGameRunning() ? 0 : 1;
}

int CMyMiraboGameApp::PostMessageBox(LPCSTR text, LPCSTR caption, int style, int countFlag, int seconds,
                                     int linkFlag) {
    if (!m_mainDlg) {
        // No main window yet: the login dialogs' boxes show at once, over the
        // dialog that runs (m_pMainWnd while it does).
        ShowLobbyMessageBox(text, caption, style, countFlag, seconds, linkFlag, m_pMainWnd);
        return 0;
    }
    if (!m_mainDlg->GetSafeHwnd()) return -1;
    std::unique_ptr<MessageBoxRequest> request(
        new MessageBoxRequest{text, caption, style, countFlag, seconds, linkFlag});
    PostOwned(m_mainDlg->GetSafeHwnd(), kMessageBoxRequest, 0, std::move(request));
    return 0;
}

int CMyMiraboGameApp::SendMessageBox(LPCSTR text, LPCSTR caption, int style) {
    if (!m_mainDlg || !m_mainDlg->GetSafeHwnd()) return -1;
    std::unique_ptr<MessageBoxRequest> request(new MessageBoxRequest{text, caption, style, 0, 0, 0});
    return static_cast<int>(SendOwned(m_mainDlg->GetSafeHwnd(), kMessageBoxRequest, 0, std::move(request)));
}

int CMyMiraboGameApp::IsGameClientPresent(LPCSTR gameCode) {
    if (!gameCode || CString(gameCode) != CString("FENLO")) return 0;
    return FileExists(m_programFolder + "fenlo.exe") ? 1 : 0;
}

int CMyMiraboGameApp::OfferGameDownload(LPCSTR gameCode) {
    if (ShowLobbyMessageBox("游戏客户端不存在，是否下载该游戏？", "提示", 1, 0, 0, 0, m_mainDlg) != IDOK) return 0;
    if (!gameCode || CString(gameCode) != CString("FENLO")) return 0;
    // The application server: the second element of the updater's [system] system text.
    const CString system = ReadIni(m_programFolder + "Updater\\config.ini", "system", "system");
    std::string host;
    int port = 0;
    ReadUpdaterServer(std::string(system), host, port);
    CDlgDownload dialog(m_mainDlg);
    // The application server is asked by the lobby's folder as the application name.
    dialog.SetTarget(host.c_str(), port, m_programFolder, 1, m_programFolder);
    return dialog.DoModal() == IDOK ? 1 : 0;
}

bool CMyMiraboGameApp::FileExists(LPCSTR path) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    ::FindClose(find);
    return true;
}

int CMyMiraboGameApp::StartUpdater(LPCSTR parameters, int show) {
    const CString updater = m_programFolder + "Updater.exe";
    if (!FileExists(updater)) return 0;
    ::ShellExecuteA(nullptr, "open", updater, parameters, m_programFolder, show);
    return 1;
}

void CMyMiraboGameApp::TellClientTooOld(HWND dialog, LPCSTR updaterParameters, int show) {
    PostMessageBox("当前客户的版本过低!\r\n 将为您更新为最新版本...", "提示", 0);
    if (!StartUpdater(updaterParameters, show))
        ::MessageBoxA(dialog, "缺少更新主程序Updater.exe，请登陆官方网站重新下载客户端!", nullptr, MB_OK);
}
