#include "lobby/net/base/Thread.h"

#include <process.h>

#include "lobby/net/base/Exception.h"

Thread::~Thread() {
    if (handle_) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

void Thread::Start() {
    if (handle_) {
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }
    uintptr_t h = _beginthreadex(nullptr, 0, &Thread::EntryPoint, this, 0, &threadId_);
    if (h == 0) throw ThreadException("x");
    CloseHandle(reinterpret_cast<HANDLE>(h));
    handle_ = nullptr;
}

unsigned __stdcall Thread::EntryPoint(void* self) {
    // Exceptions end the thread here, at its boundary, never the process.
    try {
        static_cast<Thread*>(self)->Run();
    } catch (...) {
    }
    return 0;
}

Semaphore::~Semaphore() {
    if (handle_) CloseHandle(handle_);
}

bool Semaphore::Create(long initial, long maximum) {
    if (handle_) CloseHandle(handle_);
    handle_ = CreateSemaphoreA(nullptr, initial, maximum, nullptr);
    return handle_ != nullptr;
}

bool Semaphore::Release() { return handle_ && ReleaseSemaphore(handle_, 1, nullptr); }

bool Semaphore::Wait(DWORD milliseconds) {
    return handle_ && WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0;
}
