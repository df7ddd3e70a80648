// Loader steps and the sequence that runs them, shared by the lobby and the
// card-game client.
//
// A step (CLoaderBase) does its work on a worker thread and reports the result
// to its observer, the sequence (CLoadingBase), through Notify. The sequence
// starts its listed steps one after the other, passes the owner window's
// timer ticks and drawing to the step that runs, and tells the owner the
// outcome (in the subclass). Reports arrive on whichever thread made them: a
// step's worker, or the interface thread from Tick.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <string>
#include <vector>

#include "lobby/net/loaders/JetThread.h"

class CDC;
class CLoadingBase;

// The id of the owner window's timer whose ticks reach the running step.
const unsigned kLoadingTimerId = 0x246F9194;

// The status line animation: one more "."; past 24 characters every "." goes.
std::string AddStatusDot(const std::string& status);

class CLoaderBase : public CJetThread {
public:
    CLoaderBase();
    ~CLoaderBase() override;

    // Virtual operations, in this order.
    int Run() override { return 0; }
    // Starts the step; 1 when it runs.
    virtual int Start() { return StartThread(); }
    virtual void Tick(unsigned timerId, void* param);
    virtual void Draw(CDC* dc, int x, int y);
    // Reports the result to the observer and returns the observer's answer (0
    // without one).
    virtual int Notify(int result);

    // Notes the start time and starts the worker thread, handing it argument
    // (CJetThread::Argument); 1 when it runs.
    int StartThread(void* argument = nullptr);

    void SetStatusText(const std::string& text);
    // The status text, copied under the lock; valid until the next call.
    const char* GetStatusText();
    void SetProgress(int progress);
    int GetProgress();
    void SetObserver(CLoadingBase* observer);
    // When a step fills it, the sequence reports this text instead of its own.
    void SetErrorText(const std::string& text);
    const std::string& GetErrorText() const { return errorText_; }

    // The clock of the start time and of TimedTick's limit, in ms; null (the
    // default) is the system's tick count.
    typedef DWORD (*Clock)();
    void SetClock(Clock clock) { clock_ = clock; }

    // The step's state word, under the lock (its meaning is the subclass's).
    int GetState();
    void SetState(int state);

    // The work lock: held by a step while it works and while it is destroyed,
    // for steps whose results their owner reads back.
    void LockWork() { EnterCriticalSection(&workLock_); }
    void UnlockWork() { LeaveCriticalSection(&workLock_); }

protected:
    void Lock() { EnterCriticalSection(&lock_); }
    void Unlock() { LeaveCriticalSection(&lock_); }
    DWORD GetStartTick();

    // Draw that adds a dot per call (AddStatusDot) and shows the line.
    void DrawDotted(CDC* dc, int x, int y);
    // Tick of a step that may take limitMs: progress grows with the time
    // (one point per 80 ms up to 100) and, once the limit has passed, the step
    // reports failure, once per start.
    void TimedTick(DWORD limitMs);
    // Shows the status text at x, y.
    void DrawStatus(CDC* dc, int x, int y);

    int state_ = 0;  // guarded by the lock

private:
    CLoadingBase* observer_ = nullptr;
    std::string errorText_;
    CRITICAL_SECTION lock_;
    CRITICAL_SECTION workLock_;
    std::string status_;
    std::string statusCopy_;
    int progress_ = 0;
    DWORD startTick_ = 0;
    bool lateReported_ = false;
    Clock clock_ = nullptr;
};

class CLoadingBase {
public:
    CLoadingBase();

    // Virtual operations, in this order.
    // A step has reported; moves on to the next step, or to the end.
    virtual int OnStepDone(CLoaderBase* step, int result);
    // The owner's timer: kLoadingTimerId reaches the current step's Tick.
    virtual void Tick(unsigned timerId);
    virtual void Draw(CDC* dc, int x, int y);
    virtual void AddStep(CLoaderBase* step);
    // A step failed or could not start; *result = 1 passes over it.
    virtual void OnStepFailed(CLoaderBase* step, int* result);
    virtual void OnAllDone() = 0;
    virtual void Reserved() {}

    virtual ~CLoadingBase();

    // Starts the first listed step; 1 when it runs.
    int StartFirst();
    // The current step's status text, or null when no step runs.
    const char* GetCurrentStatus();
    CLoaderBase* GetCurrentStep();
    size_t GetStepCount();

    CLoadingBase(const CLoadingBase&) = delete;
    CLoadingBase& operator=(const CLoadingBase&) = delete;

protected:
    void Lock() { EnterCriticalSection(&lock_); }
    void Unlock() { LeaveCriticalSection(&lock_); }
    void ClearSteps();

private:
    std::vector<CLoaderBase*> steps_;
    CRITICAL_SECTION lock_;
    CLoaderBase* current_ = nullptr;
};
