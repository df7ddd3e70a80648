// Thread: runs its virtual Run on a thread of its own, detached. Nobody joins
// it; the object must stay alive until Run returns, and a thread that must stop
// is told so through the object's own state.
// Semaphore: a counting semaphore that its owner creates, releases and waits on.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

class Thread {
public:
    Thread() {}
    virtual ~Thread();
    virtual int Run() { return 0; }

    // Starts Run on a new thread; throws ThreadException("x") when it cannot.
    void Start();
    // The identifier of the thread last started (0 before any).
    unsigned GetThreadId() const { return threadId_; }

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

private:
    static unsigned __stdcall EntryPoint(void* self);

    HANDLE handle_ = nullptr;
    unsigned threadId_ = 0;
};

class Semaphore {
public:
    Semaphore() {}
    virtual ~Semaphore();

    bool Create(long initial, long maximum);
    bool Release();
    // True when the semaphore was taken within the time.
    bool Wait(DWORD milliseconds);
    HANDLE GetHandle() const { return handle_; }

    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

private:
    HANDLE handle_ = nullptr;
};
