// The card-game client's start-up loading: a sequence of one step, the
// picture step, which builds the table pictures on a worker thread while the
// table window shows its first frame. The table window owns the sequence and
// learns the outcome, once, by a posted message:
//   WM_USER+101, wParam 1, lParam 0: the pictures are loaded;
//   WM_USER+101, wParam 0, lParam the failure text (char*, a constant or the
//               step's error text, valid while the sequence lives).
#pragma once

#include "lobby/net/loaders/LoaderBase.h"

class CWnd;

const UINT kImagesLoadedMessage = WM_USER + 101;

// Builds the session's picture table (CGameSession::CreateImages).
class CLoaderRes : public CLoaderBase {
public:
    // On the game's clock (GameClock.h).
    CLoaderRes();
    // Waits for a load in progress.
    ~CLoaderRes() override;
    // Holds the work lock while it loads; reports 1, or 0 when the table could
    // not be made or its construction threw.
    int Run() override;
    void Tick(unsigned timerId, void* param) override;
    void Draw(CDC* dc, int x, int y) override;

    void SetOwner(CWnd* owner);

private:
    int reserved_ = 0;
    CWnd* owner_ = nullptr;
};

class CLoading : public CLoadingBase {
public:
    static const char* const kFailureText;

    CLoading() {}
    // Stops reporting and waits for the step's work to end.
    ~CLoading() override;

    // Makes the window the owner and starts the picture step; 1 when it runs.
    int Start(CWnd* window);

    int OnStepDone(CLoaderBase* step, int result) override;
    void OnStepFailed(CLoaderBase* step, int* result) override;
    void OnAllDone() override;

    unsigned GetProgressStep() const { return progressStep_; }

private:
    // Posts the outcome to the owner unless one was posted already.
    void Report(WPARAM result, LPARAM text);

    CWnd* owner_ = nullptr;
    CLoaderRes imageStep_;
    int completed_ = 0;
    int reserved_ = -1;
    unsigned progressStep_ = 0;
    bool reported_ = false;  // under the sequence lock
};
