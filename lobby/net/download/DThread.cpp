#include "lobby/net/download/DThread.h"

#include <process.h>

#include <cstdio>

namespace {

void DebugLine(const char* format, HANDLE thread) {
    char line[64];
    std::snprintf(line, sizeof line, format, static_cast<int>(reinterpret_cast<INT_PTR>(thread)));
    OutputDebugStringA(line);
}

}  // namespace

CDThread::CDThread() : finished_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) { InitializeCriticalSection(&lock_); }

CDThread::~CDThread() {
    Stop();
    WaitStopped();
    if (finished_) CloseHandle(finished_);
    DeleteCriticalSection(&lock_);
}

void CDThread::Run() {
    DebugLine("On Run Thread:%d\r\n", thread_);
    Sleep(1);
}

int CDThread::Start(int interval) {
    EnterCriticalSection(&lock_);
    int started = 0;
    // A loop that has let go of its handles may still be in OnStop.
    if (!thread_ && WaitForSingleObject(finished_, 0) == WAIT_OBJECT_0) {
        stopEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        unsigned id = 0;
        // Suspended until the handle is stored: the loop closes it when it ends.
        HANDLE t = stopEvent_ ? reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Loop, this, CREATE_SUSPENDED, &id))
                              : nullptr;
        if (t) {
            interval_ = interval;
            thread_ = t;
            threadId_ = id;
            ResetEvent(finished_);
            ResumeThread(t);
            started = 1;
        } else if (stopEvent_) {
            CloseHandle(stopEvent_);
            stopEvent_ = nullptr;
        }
    }
    LeaveCriticalSection(&lock_);
    return started;
}

void CDThread::Stop() {
    EnterCriticalSection(&lock_);
    const bool running = stopEvent_ && thread_;
    if (running) SetEvent(stopEvent_);
    LeaveCriticalSection(&lock_);
    if (running) Sleep(1);
}

void CDThread::WaitStopped() {
    if (GetCurrentThreadId() == threadId_) return;
    WaitForSingleObject(finished_, INFINITE);
}

unsigned __stdcall CDThread::Loop(void* self) {
    CDThread* t = static_cast<CDThread*>(self);
    EnterCriticalSection(&t->lock_);
    HANDLE handle = t->thread_;
    HANDLE stop = t->stopEvent_;
    LeaveCriticalSection(&t->lock_);

    DebugLine("Thread:%d Start\r\n", handle);
    t->OnStart();
    while (WaitForSingleObject(stop, static_cast<DWORD>(t->interval_)) != WAIT_OBJECT_0) t->Run();

    EnterCriticalSection(&t->lock_);
    CloseHandle(t->stopEvent_);
    CloseHandle(t->thread_);
    t->stopEvent_ = nullptr;
    t->thread_ = nullptr;
    LeaveCriticalSection(&t->lock_);
    t->OnStop();
    DebugLine("Thread:%d Stop\r\n", handle);
    SetEvent(t->finished_);
    return 0;
}
