// The lobby's start-up sequence: the engine step (creates and initialises the
// lobby engine and loads the server configuration) and the notice step
// (fetches the notice page over HTTP). The version-check step is attached to
// the sequence but not listed, so the start-up never runs it.
//
// The owner dialog receives the outcome once per Attach, as kMsgLoadingDone
// (PrivateMessages.h):
//   wParam 1, lParam the notice text (char*, owned by the notice step; null
//             when none was fetched): every step is done;
//   wParam 0, lParam the failure text (char*): a step failed.
// Destroying the sequence stops it: no later message is posted, the notice
// fetch is aborted and every step's thread is joined. A report made on the
// owner's own thread (a step's time-out, from the owner's timer) goes on on a
// thread of its own, as the steps' reports do: its pauses never hold the
// owner's window.
#pragma once

#include <thread>
#include <vector>

#include "lobby/net/loaders/LoaderBase.h"
#include "lobby/net/startup/LoaderUpter.h"

class CDialog;
class CInternetSession;

class CLoaderRes : public CLoaderBase {
public:
    CLoaderRes() {}
    ~CLoaderRes() override;
    int Run() override;
    // Creates the lobby engine; 0 when it cannot.
    int Start() override;
    void Tick(unsigned timerId, void* param) override;
    void Draw(CDC* dc, int x, int y) override;
};

class CLoaderNotice : public CLoaderBase {
public:
    CLoaderNotice() {}
    ~CLoaderNotice() override;
    int Run() override;
    int Start() override;
    void Tick(unsigned timerId, void* param) override;
    void Draw(CDC* dc, int x, int y) override;

    // The fetched text (GBK, NUL-terminated), or null; owned by the step.
    char* GetNoticeText();
    // Ends a fetch in progress and keeps later runs from fetching.
    void Abort();

private:
    enum Outcome { kRead, kNotRead, kFailed };
    Outcome Fetch();
    void SetNoticeText(char* text);

    char* notice_ = nullptr;
    CInternetSession* session_ = nullptr;  // the fetch in progress, for Abort
    bool aborted_ = false;
};

class CLoading : public CLoadingBase {
public:
    CLoading();
    ~CLoading() override;

    // Makes the dialog the owner and starts the first step; 1 when it runs.
    int Attach(CDialog* dialog);

    int OnStepDone(CLoaderBase* step, int result) override;
    void OnStepFailed(CLoaderBase* step, int* result) override;
    void OnAllDone() override;

    // The progress bar's share of one listed step.
    unsigned GetProgressStep() const { return progressStep_; }
    CLoaderRes& GetEngineStep() { return engine_; }
    CLoaderNotice& GetNoticeStep() { return notice_; }
    CLoaderUpter& GetVersionStep() { return version_; }

private:
    // Waits, returning early (false) when the sequence is destroyed.
    bool Pause(DWORD ms);
    bool OnOwnerThread();
    void PostOutcome(WPARAM wParam, const char* text);

    CDialog* owner_ = nullptr;
    CLoaderRes engine_;
    CLoaderUpter version_;
    CLoaderNotice notice_;
    int completed_ = 0;
    unsigned progressStep_ = 0;
    bool outcomePosted_ = false;  // under the sequence's lock
    bool stopping_ = false;       // under the sequence's lock
    std::vector<std::thread> reporters_;  // under the sequence's lock
    HANDLE stopEvent_;
};
