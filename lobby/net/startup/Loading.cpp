#include "lobby/net/startup/Loading.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/startup/ServerConfig.h"
#include "platform/Dialog.h"
#include "platform/Inet.h"

namespace {

const DWORD kStepTimeLimit = 30000;
const size_t kMaxNoticeBytes = 1 << 20;

const char kNetworkFailure[] = "网络通信出错:\r\n\t请检查您的网络通信,\r\n   请稍候再试!\r\n ";
const char kConfigFailure[] = "加载配置文件出错:\r\n  可能安装目录下缺少文件!\r\n  强烈建议您重新安装!\r\n ";
const char kProgramFailure[] = "程序出错";

// The body as UTF-16 after its first 2-byte unit, in the ANSI code page.
char* NoticeFromBody(const std::vector<char>& body) {
    const int units = body.size() >= 2 ? static_cast<int>((body.size() - 2) / 2) : 0;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (units > 0) std::copy(body.begin() + 2, body.begin() + 2 + units * 2, reinterpret_cast<char*>(&wide[0]));
    const int needed = units > 0 ? WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr) : 0;
    char* text = new char[static_cast<size_t>(needed) + 1];
    if (needed > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), units, text, needed, nullptr, nullptr);
    text[needed] = '\0';
    return text;
}

}  // namespace

// ---- CLoaderRes ---------------------------------------------------------------------

CLoaderRes::~CLoaderRes() { Join(); }

int CLoaderRes::Start() {
    LobbyStep("engine step");
    SetStatusText("开始加载引擎");
    CLobbyData& hub = GetLobbyData();
    // The engine step's Init loads the server configuration.
    hub.SetServerConfigLoader([] { return GetServerConfig().Load(); });
    if (!hub.CreateNetEngine()) return 0;
    return StartThread();
}

int CLoaderRes::Run() {
    SetStatusText("加载引擎中...");
    if (GetLobbyData().Init(0)) {
        LobbyStep("engine loaded");
        SetStatusText("引擎加载成功");
        Notify(1);
    } else {
        SetStatusText("引擎加载失败");
        Notify(0);
    }
    return 0;
}

void CLoaderRes::Tick(unsigned, void*) { TimedTick(kStepTimeLimit); }

void CLoaderRes::Draw(CDC* dc, int x, int y) { DrawDotted(dc, x, y); }

// ---- CLoaderNotice ------------------------------------------------------------------

CLoaderNotice::~CLoaderNotice() {
    Abort();
    Join();
    delete[] notice_;
}

int CLoaderNotice::Start() {
    LobbyStep("notice step");
    SetStatusText("正在连接公告服务器");
    return StartThread();
}

void CLoaderNotice::Tick(unsigned, void*) { TimedTick(kStepTimeLimit); }

void CLoaderNotice::Draw(CDC* dc, int x, int y) { DrawDotted(dc, x, y); }

char* CLoaderNotice::GetNoticeText() {
    Lock();
    char* text = notice_;
    Unlock();
    return text;
}

void CLoaderNotice::SetNoticeText(char* text) {
    Lock();
    char* old = notice_;
    notice_ = text;
    Unlock();
    delete[] old;
}

void CLoaderNotice::Abort() {
    Lock();
    aborted_ = true;
    if (session_) session_->Close();
    Unlock();
}

int CLoaderNotice::Run() {
    SetStatusText("连接公告服务器中");
    const Outcome outcome = Fetch();
    LobbyStep("notice fetched %d", static_cast<int>(outcome));
    switch (outcome) {
        case kRead:
            SetStatusText("读取公告成功");
            Notify(1);
            break;
        case kNotRead:
            SetStatusText("读取公告失败,请登陆!");
            Notify(0);
            break;
        case kFailed:
            SetStatusText("连接公告服务器失败,请登陆!");
            Notify(0);
            break;
    }
    return 0;
}

CLoaderNotice::Outcome CLoaderNotice::Fetch() {
    CLobbyData& hub = GetLobbyData();
    std::string url;
    {
        LobbyLockGuard guard(hub.lobbyLock);
        url = hub.notice_url;
    }
    try {
        CInternetSession session("My Sesssion", 1, INTERNET_OPEN_TYPE_PRECONFIG);
        // Bounded, so that a silent server cannot hold the step (and its
        // owner's wait for it) past the sequence's own limit.
        session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, kStepTimeLimit);
        session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, kStepTimeLimit);
        session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, kStepTimeLimit);
        Lock();
        const bool aborted = aborted_;
        if (!aborted) session_ = &session;
        Unlock();
        if (aborted) return kFailed;
        struct Unregister {
            CLoaderNotice& step;
            ~Unregister() {
                step.Lock();
                step.session_ = nullptr;
                step.Unlock();
            }
        } unregister{*this};

        DWORD service = 0;
        CString server, object;
        INTERNET_PORT port = 0;
        if (!AfxParseURL(url.c_str(), service, server, object, port)) return kNotRead;
        std::unique_ptr<CHttpConnection> connection(session.GetHttpConnection(server, port));
        std::unique_ptr<CHttpFile> request(
            connection->OpenRequest("GET", object, nullptr, 1, nullptr, nullptr, INTERNET_FLAG_EXISTING_CONNECT));
        if (!request->SendRequest()) throw CInternetException(GetLastError());
        SetStatusText("正在读取公告");
        DWORD status = 0;
        if (!request->QueryInfoStatusCode(status) || status != 200) return kNotRead;

        // Read to the end: a body may arrive in several pieces.
        std::vector<char> body;
        std::vector<char> piece(std::max<DWORD>(request->GetLength(), 4096));
        while (body.size() < kMaxNoticeBytes) {
            const UINT got = request->Read(piece.data(), static_cast<UINT>(piece.size()));
            if (got == 0) break;
            body.insert(body.end(), piece.begin(), piece.begin() + got);
        }
        if (body.size() > kMaxNoticeBytes) body.resize(kMaxNoticeBytes);
        SetNoticeText(NoticeFromBody(body));
        return kRead;
    } catch (...) {
        return kFailed;
    }
}

// ---- CLoading -----------------------------------------------------------------------

CLoading::CLoading() : stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CLoading::~CLoading() {
    if (stopEvent_) SetEvent(stopEvent_);  // first: a report may be pausing under the lock
    Lock();
    stopping_ = true;
    Unlock();
    std::vector<std::thread> reporters;
    Lock();
    reporters.swap(reporters_);
    Unlock();
    for (std::thread& t : reporters) t.join();  // they may start the next step
    // A step's thread may start the next step: join in running order.
    notice_.Abort();
    engine_.Join();
    notice_.Join();
    version_.Finish();
    version_.Join();
    if (stopEvent_) CloseHandle(stopEvent_);
}

int CLoading::Attach(CDialog* dialog) {
    engine_.SetObserver(this);
    version_.SetObserver(this);
    notice_.SetObserver(this);
    Lock();
    ClearSteps();
    completed_ = 0;
    outcomePosted_ = false;
    owner_ = dialog;
    Unlock();
    AddStep(&engine_);
    AddStep(&notice_);
    progressStep_ = static_cast<unsigned>(100 / GetStepCount());
    int result = StartFirst();
    if (result == 0) {
        // The engine could not be made: report its failure at once.
        Lock();
        OnStepFailed(&engine_, &result);
        Unlock();
    }
    return result;
}

bool CLoading::Pause(DWORD ms) { return !stopEvent_ || WaitForSingleObject(stopEvent_, ms) == WAIT_TIMEOUT; }

bool CLoading::OnOwnerThread() {
    Lock();
    CDialog* owner = owner_;
    Unlock();
    const HWND window = owner ? owner->GetSafeHwnd() : nullptr;
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

int CLoading::OnStepDone(CLoaderBase* step, int result) {
    if (OnOwnerThread()) {
        Lock();
        bool handed = stopping_;
        if (!stopping_) {
            try {
                reporters_.emplace_back([this, step, result] { OnStepDone(step, result); });
                handed = true;
            } catch (...) {
                // no thread to spare: the report goes on here
            }
        }
        Unlock();
        if (handed) return result;
    }
    Lock();
    const bool ignored = stopping_ || outcomePosted_;
    if (!ignored && completed_ == static_cast<int>(GetStepCount()) - 1) {
        // The last step counts as done whatever it reports.
        ++completed_;
        if (result != 0) step->SetStatusText("客户端初始化完成");
        result = 1;
    }
    Unlock();
    if (ignored || !Pause(300)) return result;
    Lock();
    if (!stopping_ && !outcomePosted_) {
        CLoadingBase::OnStepDone(step, result);
        ++completed_;
    }
    Unlock();
    return result;
}

void CLoading::OnStepFailed(CLoaderBase* step, int* result) {
    const char* text = kProgramFailure;
    if (step == &version_) {
        text = kNetworkFailure;
    } else if (step == &notice_) {
        Pause(1500);
        *result = 1;  // the lobby starts without a notice
        return;
    } else if (step == &engine_) {
        text = kConfigFailure;
    }
    *result = 0;
    completed_ = static_cast<int>(GetStepCount());
    if (step && !step->GetErrorText().empty()) text = step->GetErrorText().c_str();
    PostOutcome(0, text);
}

void CLoading::OnAllDone() {
    char* notice = notice_.GetNoticeText();
    LobbyStep("loading steps done");
    if (!Pause(500)) return;
    PostOutcome(1, notice);
}

void CLoading::PostOutcome(WPARAM wParam, const char* text) {
    Lock();
    const bool post = !stopping_ && !outcomePosted_;
    outcomePosted_ = true;
    CDialog* owner = owner_;
    Unlock();
    if (post && owner && owner->GetSafeHwnd())
        ::PostMessageA(owner->GetSafeHwnd(), kMsgLoadingDone, wParam, reinterpret_cast<LPARAM>(text));
}
