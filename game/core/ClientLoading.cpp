#include "game/core/ClientLoading.h"

#include "game/core/GameClock.h"
#include "game/core/GameSession.h"
#include "platform/Wnd.h"

namespace {
const DWORD kLoadLimitMs = 30000;
}

const char* const CLoading::kFailureText = "加载配置文件出错:  \r\n安装目录下缺少文件!\n强烈建议您重新安装!\n ";

// ---- CLoaderRes -------------------------------------------------------------------

CLoaderRes::CLoaderRes() { SetClock(GameClockNow); }

CLoaderRes::~CLoaderRes() {
    LockWork();
    owner_ = nullptr;
    UnlockWork();
    Join();
}

int CLoaderRes::Run() {
    LockWork();
    int result = 0;
    try {
        result = GetGameSession()->CreateImages() ? 1 : 0;
    } catch (...) {
        // Whatever the pictures throw (a text, or running out of memory), the
        // table learns that loading failed instead of waiting for ever.
        result = 0;
    }
    UnlockWork();
    Notify(result);
    return 0;
}

void CLoaderRes::Tick(unsigned, void*) { TimedTick(kLoadLimitMs); }

void CLoaderRes::Draw(CDC* dc, int x, int y) { DrawDotted(dc, x, y); }

void CLoaderRes::SetOwner(CWnd* owner) {
    LockWork();
    owner_ = owner;
    UnlockWork();
}

// ---- CLoading ---------------------------------------------------------------------

CLoading::~CLoading() {
    Lock();
    owner_ = nullptr;
    Unlock();
    imageStep_.Join();
    ClearSteps();
}

int CLoading::Start(CWnd* window) {
    imageStep_.SetOwner(window);
    Lock();
    completed_ = 0;
    reserved_ = -1;
    reported_ = false;
    Unlock();
    imageStep_.SetObserver(this);
    AddStep(&imageStep_);
    Lock();
    owner_ = window;
    progressStep_ = 100 / static_cast<unsigned>(GetStepCount());
    Unlock();
    return StartFirst();
}

int CLoading::OnStepDone(CLoaderBase* step, int result) {
    Lock();
    if (completed_ == static_cast<int>(GetStepCount()) - 1) ++completed_;
    result = CLoadingBase::OnStepDone(step, result);
    ++completed_;
    reserved_ = -1;
    Unlock();
    return result;
}

void CLoading::OnStepFailed(CLoaderBase* step, int* result) {
    *result = 0;
    Lock();
    completed_ = static_cast<int>(GetStepCount());
    Unlock();
    // The step's own text lives as long as the step, so it can be posted.
    const char* text = kFailureText;
    if (step && !step->GetErrorText().empty()) text = step->GetErrorText().c_str();
    Report(0, reinterpret_cast<LPARAM>(text));
}

void CLoading::OnAllDone() { Report(1, 0); }

void CLoading::Report(WPARAM result, LPARAM text) {
    Lock();
    HWND owner = owner_ && !reported_ ? owner_->GetSafeHwnd() : nullptr;
    if (owner) reported_ = true;
    Unlock();
    if (owner) ::PostMessageA(owner, kImagesLoadedMessage, result, text);
}
