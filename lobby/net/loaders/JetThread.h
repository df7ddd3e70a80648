// CJetThread: a worker thread whose work is the virtual Run. Every Start
// begins another thread on the object; the object keeps their handles so that
// its owner can wait for them with Join before the object goes. A class that
// derives from it joins in its own destructor, while its members still live.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <vector>

class CJetThread {
public:
    CJetThread();
    // Joins what still runs (a safety net: the subclass has joined already).
    virtual ~CJetThread();
    // The thread's exit code; any exception ends the thread with 0.
    virtual int Run() = 0;

    // Starts Run on a new thread, on which Argument() returns argument; false
    // when no thread could be started (the argument is then still the
    // caller's).
    bool Start(void* argument = nullptr);
    // Waits until every thread started on this object has ended. Called from
    // one of those threads, it waits only for those started before it.
    void Join();
    // True while a thread started on this object still runs.
    bool IsRunning();

    CJetThread(const CJetThread&) = delete;
    CJetThread& operator=(const CJetThread&) = delete;

protected:
    static unsigned __stdcall ThreadProc(void* launch);
    // On a thread this object started: the argument its Start was given;
    // null on other threads.
    static void* Argument();

private:
    struct Started {
        HANDLE handle;
        unsigned id;
    };
    // Drops the handles of threads that have ended; under the lock.
    void Prune();

    CRITICAL_SECTION lock_;
    std::vector<Started> threads_;
};
