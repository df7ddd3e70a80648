#include "lobby/net/startup/LoaderUpter.h"

#include <algorithm>
#include <cstdlib>

#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyStrings.h"
#include "lobby/net/startup/ServerConfig.h"
#include "xml/XMLReadText.h"

// ---- CVersion ---------------------------------------------------------------------

CVersion::CVersion() {}

CVersion::~CVersion() { Close(); }

bool CVersion::ConnectServer() {
    const std::string entry = ReadProfileText(GetServerConfig().GetFiles().updaterRead, "system", "system");
    XMLTextReader reader;
    std::vector<std::string> values;
    if (ReadXmlText(reader, entry) && reader.Read() && reader.Read()) values = AttributeValues(reader, 2);
    if (values.size() < 2) {
        SetState(kFailed);
        return false;
    }
    SetState(kConnecting);
    Connect(values[0], static_cast<short>(atoi(values[1].c_str())));
    return true;
}

void CVersion::SendRequest() {
    SetState(kRequestSent);
    CLobbyData& hub = GetLobbyData();
    std::string request;
    {
        LobbyLockGuard guard(hub.lobbyLock);
        request = hub.versionxml.substr(0, 511);
    }
    Send(request.c_str(), static_cast<int>(request.size()));
}

void CVersion::OnReceiveText(char* text, int length) {
    try {
        XMLTextReader reader;
        if (!ReadXmlText(reader, std::string(text, static_cast<size_t>(length > 0 ? length : 0)))) {
            SetState(kFailed);
        } else if (reader.Read() && reader.Name() == "FileDataSet") {
            // The third element's own text names the newer version, if any.
            if (reader.Read() && reader.Read())
                SetState(reader.Value().empty() ? kLatest : kNewer);
            else
                SetState(kFailed);
        }
    } catch (...) {
        SetState(kFailed);
    }
    delete[] text;
}

void CVersion::OnReceiveBinary(unsigned char* data, int) { delete[] data; }

void CVersion::OnError(int) { SetState(kFailed); }

void CVersion::SetState(int state) {
    LockBase<CriticalSection> guard(versionLock_);
    state_ = state;
}

int CVersion::GetState() {
    LockBase<CriticalSection> guard(versionLock_);
    return state_;
}

// ---- CLoaderUpter -----------------------------------------------------------------

CLoaderUpter::CLoaderUpter(DWORD limitMs) : limitMs_(limitMs) {}

CLoaderUpter::~CLoaderUpter() {
    Finish();
    Join();
    ReplaceEngine(nullptr);
}

int CLoaderUpter::Start() {
    SetStatusText("正在连接更新服务器");
    SetState(0);
    return StartThread();
}

void CLoaderUpter::Finish() { SetState(1); }

int CLoaderUpter::GetNewVersionFlag() {
    Lock();
    const int flag = newVersion_;
    Unlock();
    return flag;
}

bool CLoaderUpter::Probing() {
    Lock();
    const bool probing = probing_ != 0;
    Unlock();
    return probing;
}

void CLoaderUpter::SetProbing(int probing) {
    Lock();
    probing_ = probing;
    Unlock();
}

bool CLoaderUpter::End(int result) {
    Lock();
    const bool first = state_ == 0;
    state_ = 1;
    Unlock();
    if (first) Notify(result);  // one report per run, from Run or Tick
    return first;
}

void CLoaderUpter::ReplaceEngine(CVersion* engine) {
    CVersion* old = engine_;
    engine_ = engine;
    if (old) {
        old->Close();
        delete old;
    }
}

void CLoaderUpter::ProbeAgain() {
    CVersion* fresh = new CVersion();
    fresh->SetState(CVersion::kProbing);
    ReplaceEngine(fresh);
    SetProbing(1);
    SetStatusText("正在选择其它服务器");
    prober_.Start();
}

void CLoaderUpter::Fail() {
    if (engine_) engine_->SetState(CVersion::kReset);
    SetStatusText("通信失败");
    End(0);
}

int CLoaderUpter::Run() {
    try {
        CLobbyData& hub = GetLobbyData();
        const DWORD timeout = static_cast<DWORD>(StringToInt(hub.timeText[1]));
        int first = StringToInt(hub.timeText[3]);
        if (first != 1) first = 0;  // only 1 asks for a probing first
        if (first == 1) {
            SetProbing(1);
            SetStatusText("正在选择其它服务器");
            prober_.Start();
        } else {
            SetProbing(0);
            ReplaceEngine(new CVersion());
            engine_->ConnectServer();
        }
        DWORD start = GetTickCount();
        auto timeoutCheck = [&] {
            if (GetTickCount() - start < timeout) return;
            if (Probing())
                Fail();
            else
                ProbeAgain();
        };
        while (!Finished()) {
            Sleep(1);
            const int value = first == 1 ? CVersion::kProbing : engine_ ? engine_->GetState() : CVersion::kReset;
            switch (value) {
                case CVersion::kFailed:
                    if (Probing())
                        Fail();
                    else
                        ProbeAgain();
                    break;
                case CVersion::kConnecting: {
                    const int connection = engine_->GetConnState();
                    if (connection == CThreadEngine::kStateNotConnected) {
                        if (Probing())
                            Fail();
                        else
                            ProbeAgain();
                        break;
                    }
                    if (connection == CThreadEngine::kStateConnected) {
                        engine_->SendRequest();
                        SetStatusText("通信中");
                    }
                    timeoutCheck();
                    break;
                }
                case CVersion::kRequestSent:
                    timeoutCheck();
                    break;
                case CVersion::kNewer:
                case CVersion::kLatest: {
                    const bool newer = value == CVersion::kNewer;
                    SetStatusText(newer ? "发现最新版本" : "已经是最新版本");
                    Lock();
                    newVersion_ = newer ? 1 : 0;
                    Unlock();
                    End(1);
                    break;
                }
                case CVersion::kProbing:
                    if (!prober_.Poll()) break;
                    SetProbing(1);
                    SetStatusText("正在连接更新服务器");
                    if (engine_) engine_->ConnectServer();
                    if (first == 1) {
                        first = 0;
                        ClearProbeFirstSetting();
                        ReplaceEngine(new CVersion());
                        engine_->ConnectServer();
                    }
                    start = GetTickCount();
                    break;
                case 8:
                    SetStatusText("通信失败");
                    if (engine_) ReplaceEngine(new CVersion());
                    End(0);
                    break;
                default:
                    break;
            }
        }
    } catch (...) {
        SetStatusText("通信失败,更新出现异常!");
        End(0);
    }
    ReplaceEngine(nullptr);
    return 1;
}

void CLoaderUpter::Tick(unsigned, void*) {
    const DWORD start = GetStartTick();
    if (start == 0) return;
    const DWORD elapsed = GetTickCount() - start;
    if (!Probing()) SetProgress(static_cast<int>(std::min<DWORD>(100, elapsed / 80)));
    if (elapsed > limitMs_) End(0);
}

void CLoaderUpter::Draw(CDC* dc, int x, int y) { DrawDotted(dc, x, y); }
