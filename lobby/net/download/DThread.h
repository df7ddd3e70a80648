// CDThread: a thread that calls Run once per interval until it is stopped.
// Start and Stop may be called from any thread, Stop also from Run itself; after
// the loop the thread closes its own handles and calls OnStop there.
//
// A subclass whose steps use its own members calls Stop() and WaitStopped() in
// its destructor, so that no step meets it half destroyed.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

class CDThread {
public:
    CDThread();
    virtual ~CDThread();
    // One step; the base writes a debug line and sleeps 1 ms.
    virtual void Run();
    // On the thread, after the loop and before it.
    virtual void OnStop() {}
    virtual void OnStart() {}

    // 0 when a thread exists already or none can be made; 1 when it runs.
    int Start(int interval);
    // Tells the loop to end at its next wait.
    void Stop();

    CDThread(const CDThread&) = delete;
    CDThread& operator=(const CDThread&) = delete;

protected:
    // Waits until the loop started last has ended (OnStop included); returns at
    // once when called from that thread or when none was started.
    void WaitStopped();

private:
    static unsigned __stdcall Loop(void* self);

    int interval_ = 0;
    HANDLE stopEvent_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE finished_;  // manual reset: set when the loop has ended
    DWORD threadId_ = 0;
    CRITICAL_SECTION lock_;  // guards the two handles between the loop and Start/Stop
};
