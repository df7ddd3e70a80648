// Critical sections: CriticalSection with its scoped guard LockBase (also
// exported by Corvet.dll), and CCirSecLock, the base of the lobby classes whose
// state two threads touch. All are re-entrant for the thread that holds them.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/net/base/CorvetApi.h"

class CORVET_API CriticalSection {
public:
    CriticalSection();
    ~CriticalSection();
    void Enter();
    void Leave();

    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

private:
    CRITICAL_SECTION section_;
};

// Holds the lock for its scope, exceptions included.
template <class Lock>
class LockBase {
public:
    explicit LockBase(Lock& lock);
    ~LockBase();

    LockBase(const LockBase&) = delete;
    LockBase& operator=(const LockBase&) = delete;

private:
    Lock& lock_;
};

// Out of the class body, so that Corvet.dll exports the instance it makes.
template <class Lock>
LockBase<Lock>::LockBase(Lock& lock) : lock_(lock) {
    lock_.Enter();
}

template <class Lock>
LockBase<Lock>::~LockBase() {
    lock_.Leave();
}

#if defined(CORVET_BUILD) || defined(CORVET_IMPORT)
extern template class CORVET_API LockBase<CriticalSection>;
#endif

// Callers pair Lock and Unlock by hand.
class CCirSecLock {
public:
    CCirSecLock();
    virtual ~CCirSecLock();
    void Lock();
    void Unlock();

    CCirSecLock(const CCirSecLock&) = delete;
    CCirSecLock& operator=(const CCirSecLock&) = delete;

private:
    CRITICAL_SECTION section_;
};
