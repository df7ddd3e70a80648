// CPavlenApp: the card-game client's application. Its InitInstance is the
// whole run: it prepares the platform, takes the table's server and the
// player's credentials from the lobby's command line into the game session,
// lets only one client run, connects and sends the validation request, and
// then runs the table window modally. It always returns FALSE: the program
// ends when the table window does.
#pragma once

#include "platform/Framework.h"

class CPavlenApp : public CWinApp {
public:
    static constexpr const char* kSemaphoreName = "MiraboFENLO";
    // A second client goes on only while this file can be read in the
    // current directory.
    static constexpr const char* kMarkerFile = "110.txt";

    CPavlenApp();
    ~CPavlenApp() override;

    BOOL InitInstance() override;
    BOOL IsIdleMessage(MSG* msg) override;
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()

private:
    // Holds the instance semaphore; false when another client has it and no
    // marker file lets this one go on.
    bool TakeInstance();

    HANDLE m_instanceSemaphore = nullptr;  // null when this client does not own it
    HMODULE m_richEdit = nullptr;
};
