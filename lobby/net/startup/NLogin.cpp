#include "lobby/net/startup/NLogin.h"

#include <rpc.h>

#include <cstdio>
#include <memory>
#include <new>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LoginDigest.h"
#include "lobby/net/startup/ServerConfig.h"
#include "lobby/net/startup/ServerProbe.h"
#include "platform/CString.h"

namespace {

const DWORD kLoginHardLimit = 120000;
const char kStartText[] = "请登录";

// What a Start hands the run it starts.
struct RunTicket {
    HANDLE stop;
    int mode;
};

// The stop event of the run on this thread (each run has its own); null on
// threads that run none.
thread_local HANDLE t_runStop = nullptr;

// States after which a run only ends.
bool Ending(int state) {
    switch (state) {
        case LoginStates::kStateLoggedIn:
        case LoginStates::kStateRefused:
        case LoginStates::kStateStopped:
        case LoginStates::kStateFailed:
        case LoginStates::kStateNewerClient:
            return true;
        default:
            return false;
    }
}

bool IsLoginReply(int kind) {
    return kind == kMsgLoginAck || kind == kMsgLoginSuccess || kind == kMsgLoginFailed || kind == kMsgNeedUpdate ||
           kind == kMsgPlayerCountList;
}

// The hub's engine, used under the lobby lock so that no reset deletes it
// meanwhile (none of these calls waits for a callback).
template <class F>
auto WithEngine(F f) {
    CLobbyData& hub = GetLobbyData();
    LobbyLockGuard guard(hub.lobbyLock);
    return f(hub.GetNetEngine());
}

bool EngineAlive() {
    return WithEngine([](CNetEngineEx* e) { return !e || e->IsAlive() != 0; });
}

int EngineConnState() {
    return WithEngine([](CNetEngineEx* e) { return e ? e->GetConnState() : CThreadEngine::kStateNotConnected; });
}

// Sends a built request and frees it.
void SendBuilt(unsigned char* message, int length) {
    std::unique_ptr<unsigned char[]> owned(message);
    if (!message) return;
    WithEngine([&](CNetEngineEx* e) {
        if (e) e->Send(reinterpret_cast<const char*>(message), length);
        return 0;
    });
}

CLobbyProtocol& Protocol() {
    static CLobbyProtocol spare;  // stateless: stands in before Init has made the hub's
    CLobbyProtocol* protocol = GetLobbyData().GetLobbyProtocol();
    return protocol ? *protocol : spare;
}

}  // namespace

std::string FormatMacText(const unsigned char node[6], bool valid) {
    std::string parts[6];
    if (valid)
        for (int i = 0; i < 6; ++i) {
            char hex[4];
            snprintf(hex, sizeof hex, "%x", node[i]);
            parts[i] = hex;
        }
    return parts[0] + "-" + parts[1] + "-" + parts[2] + "-" + parts[3] + "-" + parts[4] + "-" + parts[5];
}

std::string GetMacAddressText() {
    UUID uuid;
    const bool valid = UuidCreateSequential(&uuid) == RPC_S_OK;
    return FormatMacText(uuid.Data4 + 2, valid);
}

// ---- CNLogin ------------------------------------------------------------------------

CNLogin::CNLogin() {
    SetState(kStateCreated);
    SetStatusText(kStartText);
}

CNLogin::~CNLogin() {
    Stop();
    Join();
}

void CNLogin::Stop() {
    Lock();
    if (stopEvent_) SetEvent(stopEvent_);
    Unlock();
}

void CNLogin::SetNotifyWindow(HWND window) {
    Lock();
    notifyWindow_ = window;
    Unlock();
}

HWND CNLogin::GetNotifyWindow() {
    Lock();
    HWND window = notifyWindow_;
    Unlock();
    return window;
}

// A run whose state says it has ended is left to end on its own thread: the
// new run waits for it there (Run), and what it still writes is dropped
// (Superseded), so the caller never waits and never sees the old run again.
int CNLogin::Start(int mode) {
    Lock();
    if (stopEvent_ && !Ending(state_)) {
        Unlock();
        return 1;
    }
    std::unique_ptr<RunTicket> ticket(new (std::nothrow) RunTicket{CreateEventA(nullptr, FALSE, FALSE, nullptr), mode});
    if (!ticket || !ticket->stop) {
        Unlock();
        return 0;
    }
    const HANDLE stop = ticket->stop;
    stopEvent_ = stop;
    state_ = kStateCreated;
    CLoaderBase::SetStatusText(kStartText);
    Unlock();
    if (StartThread(ticket.get()) == 1) {
        ticket.release();  // the run's from now on
        return 1;
    }
    Lock();
    if (stopEvent_ == stop) stopEvent_ = nullptr;
    Unlock();
    CloseHandle(stop);
    return 0;
}

void CNLogin::SetWriteSeam(std::function<void(int)> seam) {
    Lock();
    writeSeam_ = std::move(seam);
    Unlock();
}

bool CNLogin::Superseded() {
    Lock();
    const bool superseded = t_runStop && t_runStop != stopEvent_;
    Unlock();
    return superseded;
}

void CNLogin::CallSeam(int what) {
    if (!t_runStop) return;
    Lock();
    std::function<void(int)> seam = writeSeam_;
    Unlock();
    if (seam) seam(what);
}

// The check and the write under one hold of the (recursive) lock: a Start
// between the two would let the old run's write land on the new run.
template <class Write>
bool CNLogin::WriteForThisRun(int what, Write write) {
    CallSeam(what);
    Lock();
    const bool current = !Superseded();
    if (current) write();
    Unlock();
    return current;
}

void CNLogin::SetStatusText(const std::string& text) {
    WriteForThisRun(kSeamText, [&] { CLoaderBase::SetStatusText(text); });
}

void CNLogin::SetState(int state) {
    if (state > kStateCreated) return;
    const bool written = WriteForThisRun(state, [&] {
        if (state == kStateStopped || state == kStateCreated || state_ != kStateNewerClient) state_ = state;
    });
    if (written && state == kStateStopped)
        for (int i = 0; i < 3; ++i) Sleep(1);
}

void CNLogin::PostStatus(const char* text) {
    WriteForThisRun(kSeamText, [&] {
        if (notifyWindow_) PostOwned(notifyWindow_, kLoginStatusLine, 0, std::make_unique<CString>(text));
    });
}

void CNLogin::StartProbing(ServerCol& prober) {
    SetState(kStateProbing);
    prober.Start();
    SetStatusText("正在选择服务器");
    mode_ = 0;
}

void CNLogin::Fail() {
    SetStatusText("连接服务器失败");
    SetState(kStateFailed);
    PostStatus("连接服务器失败！");
}

void CNLogin::ProbeOrFail(ServerCol& prober) {
    if (mode_)
        StartProbing(prober);
    else
        Fail();
    GetLobbyData().ResetNetEngine();
}

int CNLogin::Run() {
    const std::unique_ptr<RunTicket> ticket(static_cast<RunTicket*>(Argument()));
    if (!ticket) return 0;
    CLobbyData& hub = GetLobbyData();
    ServerConfig& config = GetServerConfig();
    const HANDLE stop = ticket->stop;
    t_runStop = stop;
    CallSeam(kSeamOpeningWait);
    Join();  // a run that had ended when this one started may still be closing its engine
    if (Superseded()) {  // started again while it waited: the newer run logs in
        CloseHandle(stop);
        t_runStop = nullptr;
        return 0;
    }
    Lock();
    mode_ = ticket->mode;
    Unlock();

    hub.loginRun = 1;
    std::string address;
    int port = 0, comport = 0;
    config.GetLobbyServer(address, port, comport);
    ServerCol prober;
    Lock();
    dotTime_ = GetTickCount();
    Unlock();
    DWORD connectTime = GetTickCount();
    const DWORD timeout = static_cast<DWORD>(hub.timeValue[2]);

    if (hub.timeValue[3] != 0 && mode_ != 0) {
        SetState(kStateProbing);
        prober.Start();
        SetStatusText("正在选择服务器");
        PostStatus("正在选择服务器。。。");
    } else {
        SetState(kStateConnecting);
        hub.Connect(address, comport);
        LobbyStep("login connecting");
    }
    SetStatusText("正在连接服务器");

    // A superseded run reads no more of the state word, which is the new
    // run's.
    bool running = true;
    while (running && !Superseded() && WaitForSingleObject(stop, 1) == WAIT_TIMEOUT) {
        ProcessReply();
        if (!EngineAlive()) SetState(kStateLost);
        switch (GetState()) {
            case kStateLost:
                WithEngine([](CNetEngineEx* e) {
                    if (e) e->SetAlive();
                    return 0;
                });
                ProbeOrFail(prober);
                break;
            case kStateConnecting: {
                const int connection = EngineConnState();
                if (connection == CThreadEngine::kStateConnected) {
                    LobbyStep("login connected");
                    SendLogin();
                } else if (connection == CThreadEngine::kStateNotConnected)
                    ProbeOrFail(prober);
                break;
            }
            case kStateWaiting: {
                const DWORD waited = GetTickCount() - connectTime;
                if (waited > timeout) ProbeOrFail(prober);
                if (waited > kLoginHardLimit) {
                    SetState(kStateFailed);
                    SetStatusText("连接服务器失败");
                    hub.ResetNetEngine();
                    PostStatus("连接服务器失败！");
                }
                break;
            }
            case kStateProbing:
                if (!prober.Poll()) break;
                config.LoadUpdaterConfig();
                if (hub.timeValue[3] != 0 && mode_ != 0) ClearProbeFirstSetting();
                mode_ = 0;
                config.GetLobbyServer(address, port, comport);
                SetState(kStateConnecting);
                hub.Connect(address, comport);
                connectTime = GetTickCount();
                break;
            case kStateRefused:
            case kStateDenied:
                SetState(kStateFailed);
                mode_ = 0;
                hub.ResetNetEngine();
                break;
            case kStateLoggedIn:
            case kStateStopped:
                running = false;
                break;
            case kStateFailed:
                mode_ = 0;
                running = false;
                break;
            case kStateNewerClient:
                SetStatusText("发现最新版本");
                WriteForThisRun(kSeamText, [&] {
                    if (notifyWindow_) PostMessageA(notifyWindow_, kMsgNewerClient, 1, 0);
                });
                running = false;
                break;
            default:
                break;
        }
        if (running) Sleep(1);
    }

    // A run superseded before it ends, whatever made it end (even logged in),
    // leaves a fresh engine for the newer run, which waits for it before it
    // connects: no late reply to this run's login reaches that one. A Start
    // after this run has ended here finds no run to supersede.
    Lock();
    const bool superseded = stopEvent_ != stop;
    if (!superseded) stopEvent_ = nullptr;
    Unlock();
    if (superseded) hub.ResetNetEngine();
    CloseHandle(stop);
    t_runStop = nullptr;
    return 0;
}

bool CNLogin::SendLogin() {
    std::string version, gameName;
    if (!GetServerConfig().GetVersion(version, gameName)) {
        SetState(kStateLost);
        SetStatusText("无法读取版本号，请重新安装程序");
        PostStatus("无法读取版本号，请重新安装程序！");
        return false;
    }
    CLobbyData& hub = GetLobbyData();
    std::string user;
    {
        LobbyLockGuard guard(hub.lobbyLock);
        user = hub.userName;
    }
    int length = 0;
    unsigned char* message = Protocol().MakeLoginMsg(user, version, gameName, &length);
    SendBuilt(message, length);
    SetState(kStateWaiting);
    SetStatusText("通信中");
    PostStatus("通信中。。。");
    return true;
}

void CNLogin::ProcessReply() {
    CLobbyData& hub = GetLobbyData();
    CMessage* taken = nullptr;
    {
        // The whole queue goes round once under the lock: the first login reply
        // comes out, everything else goes back in the order it had.
        LobbyLockGuard guard(hub.lobbyLock);
        for (size_t n = hub.QueuedCount(); n > 0; --n) {
            CMessage* message = hub.PopMessage();
            if (!taken && message && IsLoginReply(message->kind))
                taken = message;
            else
                hub.PushMessage(message);
        }
    }
    if (taken) HandleReply(taken);
}

void CNLogin::HandleReply(CMessage* message) {
    std::unique_ptr<CMessage> owned(message);
    CLobbyData& hub = GetLobbyData();
    switch (message->kind) {
        case kMsgLoginAck: {
            const std::string& key = static_cast<CLoginAckMsg*>(message)->loginKey;
            std::string user, ticket;
            {
                LobbyLockGuard guard(hub.lobbyLock);
                hub.ticket = MakeLoginTicket(hub.storedDigest, key);
                user = hub.userName;
                ticket = hub.ticket;
            }
            int length = 0;
            unsigned char* validate = Protocol().MakeValidateMsg(user, ticket, &length);
            SendBuilt(validate, length);
            LobbyStep("login key answered");
            SetStatusText("正在验证身份");
            PostStatus("正在验证身份。。。");
            break;
        }
        case kMsgLoginSuccess: {
            const CLoginSuccessMsg& reply = *static_cast<CLoginSuccessMsg*>(message);
            // No XML message: a text frame in either mode.
            const std::string mac = "MAC=" + GetMacAddressText();
            WithEngine([&](CNetEngineEx* e) {
                if (e) e->SendText(mac.data(), static_cast<unsigned>(mac.size()));
                return 0;
            });
            {
                LobbyLockGuard guard(hub.lobbyLock);
                hub.moneyText = reply.money;
                hub.locked = reply.locked ? 1 : 0;
                hub.loginText8 = reply.text8;
                hub.nickname = reply.nickname;
                hub.loginText9 = reply.text9;
                if (!reply.secondAmount.empty()) hub.secondAmountText = reply.secondAmount;
                hub.loginNumber = reply.loginNumber;
            }
            if (reply.locked) {
                SetStatusText("您已成功登录，但是您的帐户已被锁定。");
                SetState(kStateRefused);
                PostStatus("登录失败，用户帐户已经被锁定。");
            } else {
                SetState(kStateLoggedIn);
                LobbyStep("login success");
            }
            break;
        }
        case kMsgLoginFailed: {
            const std::string text = static_cast<CLoginFailedMsg*>(message)->reason + "，请重新登录！";
            SetStatusText(text);
            SetState(kStateRefused);
            PostStatus(text.c_str());
            break;
        }
        case kMsgNeedUpdate:
            SetStatusText("发现最新版本!");
            SetState(kStateNewerClient);
            break;
        case kMsgPlayerCountList:
            break;  // dropped
        default:
            hub.PushMessage(owned.release());  // for the main window
            break;
    }
}

void CNLogin::Draw(CDC* dc, int x, int y) {
    Lock();
    const DWORD now = GetTickCount();
    if (now - dotTime_ > 50 &&
        (state_ == kStateBusy || state_ == kStateWaiting || state_ == kStateConnecting || state_ == kStateProbing)) {
        SetStatusText(AddStatusDot(GetStatusText()));
        dotTime_ = now;
    }
    Unlock();
    DrawStatus(dc, x, y);
}
