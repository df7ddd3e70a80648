#include "lobby/net/loaders/LoaderBase.h"

#include <algorithm>

#include "platform/Gdi.h"

std::string AddStatusDot(const std::string& status) {
    std::string dotted = status + ".";
    if (dotted.size() > 24) dotted.erase(std::remove(dotted.begin(), dotted.end(), '.'), dotted.end());
    return dotted;
}

// ---- CLoaderBase ------------------------------------------------------------------

CLoaderBase::CLoaderBase() {
    InitializeCriticalSection(&lock_);
    InitializeCriticalSection(&workLock_);
}

CLoaderBase::~CLoaderBase() {
    Join();
    DeleteCriticalSection(&workLock_);
    DeleteCriticalSection(&lock_);
}

void CLoaderBase::Tick(unsigned, void*) {}

void CLoaderBase::Draw(CDC* dc, int x, int y) { DrawStatus(dc, x, y); }

int CLoaderBase::Notify(int result) {
    Lock();
    CLoadingBase* observer = observer_;
    Unlock();
    return observer ? observer->OnStepDone(this, result) : 0;
}

int CLoaderBase::StartThread(void* argument) {
    Lock();
    startTick_ = clock_ ? clock_() : GetTickCount();
    lateReported_ = false;
    Unlock();
    return CJetThread::Start(argument) ? 1 : 0;
}

void CLoaderBase::SetStatusText(const std::string& text) {
    Lock();
    status_ = text;
    Unlock();
}

const char* CLoaderBase::GetStatusText() {
    Lock();
    statusCopy_ = status_;
    Unlock();
    return statusCopy_.c_str();
}

void CLoaderBase::SetProgress(int progress) {
    Lock();
    progress_ = progress;
    Unlock();
}

int CLoaderBase::GetProgress() {
    Lock();
    const int progress = progress_;
    Unlock();
    return progress;
}

void CLoaderBase::SetObserver(CLoadingBase* observer) {
    Lock();
    observer_ = observer;
    Unlock();
}

void CLoaderBase::SetErrorText(const std::string& text) {
    Lock();
    errorText_ = text;
    Unlock();
}

int CLoaderBase::GetState() {
    Lock();
    const int state = state_;
    Unlock();
    return state;
}

void CLoaderBase::SetState(int state) {
    Lock();
    state_ = state;
    Unlock();
}

DWORD CLoaderBase::GetStartTick() {
    Lock();
    const DWORD start = startTick_;
    Unlock();
    return start;
}

void CLoaderBase::DrawDotted(CDC* dc, int x, int y) {
    Lock();
    status_ = AddStatusDot(status_);
    Unlock();
    DrawStatus(dc, x, y);
}

void CLoaderBase::DrawStatus(CDC* dc, int x, int y) {
    Lock();
    const std::string line = status_;
    Unlock();
    if (dc) dc->TextOut(x, y, CString(line));
}

void CLoaderBase::TimedTick(DWORD limitMs) {
    Lock();
    const DWORD start = startTick_;
    bool late = false;
    if (start > 0) {
        const DWORD elapsed = (clock_ ? clock_() : GetTickCount()) - start;
        progress_ = static_cast<int>(std::min<DWORD>(100, elapsed / 80));
        late = elapsed > limitMs && !lateReported_;
        if (late) lateReported_ = true;
    }
    Unlock();
    if (late) Notify(0);
}

// ---- CLoadingBase -----------------------------------------------------------------

CLoadingBase::CLoadingBase() { InitializeCriticalSection(&lock_); }

CLoadingBase::~CLoadingBase() { DeleteCriticalSection(&lock_); }

int CLoadingBase::OnStepDone(CLoaderBase*, int result) {
    Lock();
    CLoaderBase* current = current_;
    if (result == 0) OnStepFailed(current, &result);
    if (result != 0) {
        auto at = std::find(steps_.begin(), steps_.end(), current);
        if (at != steps_.end()) {
            if (at + 1 == steps_.end()) {
                OnAllDone();
            } else {
                CLoaderBase* next = *(at + 1);
                current_ = next;
                if (next->Start() == 0) {
                    int passOver = 0;
                    OnStepFailed(next, &passOver);
                    if (passOver == 1) OnStepDone(next, 0);
                }
            }
        }
    }
    Unlock();
    return result;
}

void CLoadingBase::Tick(unsigned timerId) {
    if (timerId != kLoadingTimerId) return;
    if (CLoaderBase* step = GetCurrentStep()) step->Tick(timerId, nullptr);
}

void CLoadingBase::Draw(CDC* dc, int x, int y) {
    if (CLoaderBase* step = GetCurrentStep()) step->Draw(dc, x, y);
}

void CLoadingBase::AddStep(CLoaderBase* step) {
    Lock();
    steps_.push_back(step);
    Unlock();
}

void CLoadingBase::OnStepFailed(CLoaderBase*, int*) {}

int CLoadingBase::StartFirst() {
    Lock();
    CLoaderBase* first = steps_.empty() ? nullptr : steps_.front();
    int started = 0;
    if (first) {
        started = first->Start();
        current_ = started == 1 ? first : nullptr;
    }
    Unlock();
    return started;
}

const char* CLoadingBase::GetCurrentStatus() {
    CLoaderBase* step = GetCurrentStep();
    return step ? step->GetStatusText() : nullptr;
}

CLoaderBase* CLoadingBase::GetCurrentStep() {
    Lock();
    CLoaderBase* step = current_;
    Unlock();
    return step;
}

size_t CLoadingBase::GetStepCount() {
    Lock();
    const size_t count = steps_.size();
    Unlock();
    return count;
}

void CLoadingBase::ClearSteps() {
    Lock();
    steps_.clear();
    current_ = nullptr;
    Unlock();
}
