#include "lobby/net/loaders/JetThread.h"

#include <process.h>

#include <new>

namespace {
struct Launch {
    CJetThread* self;
    void* argument;
};
thread_local void* t_argument = nullptr;
}  // namespace

CJetThread::CJetThread() { InitializeCriticalSection(&lock_); }

CJetThread::~CJetThread() {
    Join();
    EnterCriticalSection(&lock_);
    for (const Started& t : threads_) CloseHandle(t.handle);
    threads_.clear();
    LeaveCriticalSection(&lock_);
    DeleteCriticalSection(&lock_);
}

void* CJetThread::Argument() { return t_argument; }

unsigned __stdcall CJetThread::ThreadProc(void* launch) {
    const Launch start = *static_cast<Launch*>(launch);
    delete static_cast<Launch*>(launch);
    t_argument = start.argument;
    try {
        return static_cast<unsigned>(start.self->Run());
    } catch (...) {
        return 0;
    }
}

bool CJetThread::Start(void* argument) {
    Launch* launch = new (std::nothrow) Launch{this, argument};
    if (!launch) return false;
    EnterCriticalSection(&lock_);
    Prune();
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &CJetThread::ThreadProc, launch, 0, &id);
    const bool started = handle != 0 && handle != static_cast<uintptr_t>(-1);
    if (started) threads_.push_back(Started{reinterpret_cast<HANDLE>(handle), id});
    LeaveCriticalSection(&lock_);
    if (!started) delete launch;
    return started;
}

void CJetThread::Prune() {
    for (size_t i = 0; i < threads_.size();) {
        if (WaitForSingleObject(threads_[i].handle, 0) == WAIT_OBJECT_0) {
            CloseHandle(threads_[i].handle);
            threads_.erase(threads_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void CJetThread::Join() {
    const DWORD self = GetCurrentThreadId();
    for (;;) {
        bool pending = false;
        HANDLE wait = nullptr;
        EnterCriticalSection(&lock_);
        Prune();
        // From one of the threads, only those started before it: two runs
        // never wait for each other.
        size_t before = threads_.size();
        for (size_t i = 0; i < threads_.size(); ++i)
            if (threads_[i].id == self) before = i;
        if (before > 0) {
            pending = true;
            // A copy: another thread's Prune may close the original meanwhile.
            if (!DuplicateHandle(GetCurrentProcess(), threads_[0].handle, GetCurrentProcess(), &wait, SYNCHRONIZE,
                                 FALSE, 0))
                wait = nullptr;
        }
        LeaveCriticalSection(&lock_);
        if (!pending) return;
        if (wait) {
            WaitForSingleObject(wait, INFINITE);
            CloseHandle(wait);
        } else {
            Sleep(1);
        }
    }
}

bool CJetThread::IsRunning() {
    EnterCriticalSection(&lock_);
    Prune();
    const bool running = !threads_.empty();
    LeaveCriticalSection(&lock_);
    return running;
}
