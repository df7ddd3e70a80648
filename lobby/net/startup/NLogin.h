// CNLogin: the login step. On its own worker thread it connects the lobby
// engine to the chosen server (probing the servers first, or once after a
// failure, when allowed), sends Login, answers the server's LoginKey with the
// ticket and takes the verdict. Its owner reads the state word (LoginStates,
// read by LoginVerdictOf) and the status text; status lines also go to the
// notify window as kMsgLoginStatus (PrivateMessages.h; nothing is posted
// without a window).
//
// Deleting the step stops its thread and waits for it, so the owner must not
// hold the hub's lobby lock while it deletes one.
#pragma once

#include <functional>
#include <string>

#include "lobby/net/loaders/LoaderBase.h"
#include "lobby/net/startup/LoginVerdict.h"

class CMessage;
class ServerCol;

class CNLogin : public CLoaderBase, public LoginStates {
public:
    CNLogin();
    ~CNLogin() override;

    int Run() override;
    void Draw(CDC* dc, int x, int y) override;

    // Starts a login (mode 1: the user's, which may probe the servers once) or
    // a reconnect (mode 0), from state 12 and the first status text; nothing
    // happens while one runs. A run that has reached its end is not waited
    // for: the new run's thread waits for it, its last state, texts and posts
    // are dropped, and it leaves a fresh engine. 1 when running.
    int Start(int mode);
    // Values above 12 are ignored; 4 and 12 are always stored, any other value
    // only while the state is not 11.
    void SetState(int state);
    // The status text, unless the calling thread's run was superseded.
    void SetStatusText(const std::string& text);
    // Takes the first login reply waiting in the hub's queue, if any, and
    // handles it; other replies stay queued in their order.
    void ProcessReply();

    void SetNotifyWindow(HWND window);
    HWND GetNotifyWindow();
    // Tells Run to end.
    void Stop();

    // For tests: called on a run's thread as it is about to write its state
    // (the value) or a status text or post (kSeamText), before it checks,
    // under the lock that the write then holds, that no newer Start has
    // replaced it; and as it begins to wait for the runs before it
    // (kSeamOpeningWait).
    enum { kSeamText = -1, kSeamOpeningWait = -2 };
    void SetWriteSeam(std::function<void(int)> seam);

private:
    using CLoaderBase::Start;
    void HandleReply(CMessage* message);
    bool SendLogin();
    // Probing when the mode still allows it, else the final failure; either
    // way a fresh engine.
    void ProbeOrFail(ServerCol& prober);
    void StartProbing(ServerCol& prober);
    void Fail();
    void PostStatus(const char* text);
    void CallSeam(int what);
    // True on the thread of a run that a newer Start has replaced: what it
    // still writes is dropped.
    bool Superseded();
    // Runs write under the lock, unless this thread's run was superseded;
    // whether it ran.
    template <class Write>
    bool WriteForThisRun(int what, Write write);

    HWND notifyWindow_ = nullptr;
    DWORD dotTime_ = 0;
    // The newest run's stop event, until that run ends; each run is handed
    // its own event by its Start and closes it as it ends.
    HANDLE stopEvent_ = nullptr;
    int mode_ = 0;  // the running run's, once the runs before it have ended
    std::function<void(int)> writeSeam_;
};

// The network card's address from a sequential UUID: six parts in lower-case
// hex without zero padding, joined by "-"; the separators alone when the
// system gives no such UUID.
std::string GetMacAddressText();
std::string FormatMacText(const unsigned char node[6], bool valid);
