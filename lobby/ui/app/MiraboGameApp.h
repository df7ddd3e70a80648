// The lobby program's application object: start-up, settings from config.ini
// and the small services the lobby windows call.
#pragma once

#include <windows.h>

#include "platform/Framework.h"

class CMyMiraboGameDlg;
class CSkinRes;

class CMyMiraboGameApp : public CWinApp {
public:
    CMyMiraboGameApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    int LoadConfig();
    int LoadMessages();
    int InstallBrowserHelper();
    static int RegisterServerDll(LPCSTR path);
    int IsAlreadyRunning();
    int IsGameRunning();
    int CanCloseRoom(int pageId);
    // Queues the box for the main window; before the main window exists it
    // is shown at once (the login dialogs' boxes). -1 when dropped.
    int PostMessageBox(LPCSTR text, LPCSTR caption, int style, int countFlag = 0, int seconds = 0,
                       int linkFlag = 0);
    // Shows the box from the main window at once and returns its answer; -1
    // without a main window.
    int SendMessageBox(LPCSTR text, LPCSTR caption, int style);
    int IsGameClientPresent(LPCSTR gameCode);
    // Updater.exe beside the program with the parameters; 1 when it exists.
    int StartUpdater(LPCSTR parameters, int show = SW_SHOW);
    // A login dialog's answer to a server that wants a newer client: the box,
    // then the updater, or the box that it is missing.
    void TellClientTooOld(HWND dialog, LPCSTR updaterParameters, int show);
    // Asks whether to download the missing client and runs the download
    // dialog; 1 when the client was downloaded.
    int OfferGameDownload(LPCSTR gameCode);
    static bool FileExists(LPCSTR path);
    CString ConfigFile() const { return m_programFolder + "config.ini"; }

    CSkinRes* m_skin;
    CMyMiraboGameDlg* m_mainDlg = nullptr;
    CString m_commandLine;
    int m_autoLogin = 0;
    CString PostWeb, PartnerLoginWeb, AdvWeb, ClientWeb, LoginWeb, MainWeb, SetWeb, PayWeb, BBSWeb, BCityWeb,
        PerWeb, HelpWeb, ShopWeb, AboutWeb, RegWeb, FindPassWeb;
    CString m_cmdPassword, m_cmdUser;
    int AdvWidth = 400, AdvHeight = 400, AdvCloseTime = 10;
    int SvrSelect = 0;
    CString m_programFolder;
    CString m_versionLabel;
    CString ping, action, versionxml;
    CString time[5];
    CString notice_url;
    CString version;
    bool MainWebShow = false, SetWebShow = false, PayWebShow = false, BBSWebShow = false, BCityWebShow = false,
         PerWebShow = false, HelpWebShow = false, ShopWebShow = false;
    int m_developer = 0;
    int m_forcedSwitch = 0;
    int m_roomPageId = -1;

    DECLARE_MESSAGE_MAP()

private:
    HANDLE m_instanceSemaphore = nullptr;
    bool m_comStarted = false;
};

CMyMiraboGameApp* GetLobbyApp();
