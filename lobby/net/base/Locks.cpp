#include "lobby/net/base/Locks.h"

CriticalSection::CriticalSection() { InitializeCriticalSection(&section_); }
CriticalSection::~CriticalSection() { DeleteCriticalSection(&section_); }
void CriticalSection::Enter() { EnterCriticalSection(&section_); }
void CriticalSection::Leave() { LeaveCriticalSection(&section_); }

template class LockBase<CriticalSection>;

CCirSecLock::CCirSecLock() { InitializeCriticalSection(&section_); }
CCirSecLock::~CCirSecLock() { DeleteCriticalSection(&section_); }
void CCirSecLock::Lock() { EnterCriticalSection(&section_); }
void CCirSecLock::Unlock() { LeaveCriticalSection(&section_); }
