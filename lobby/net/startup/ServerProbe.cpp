#include "lobby/net/startup/ServerProbe.h"

// after windows.h
#include <mmsystem.h>

#include <cstdlib>

#include "lobby/net/protocol/LobbyData.h"
#include "xml/XMLReadText.h"

// ---- CChoiceServer ----------------------------------------------------------------

CChoiceServer::CChoiceServer() {}

CChoiceServer::~CChoiceServer() { Close(); }

void CChoiceServer::Probe(const ServerRecord& record) {
    {
        LockBase<CriticalSection> guard(probeLock_);
        record_ = record;
        time_ = timeGetTime();
        state_ = kConnecting;
    }
    Connect(record.ip, static_cast<short>(atoi(record.comport.c_str())));
}

void CChoiceServer::OnConnect() {
    CThreadEngine::OnConnect();
    switch (GetConnState()) {
        case kStateConnected:
            SetState(kConnected);
            SendProbe();
            break;
        case kStateNotConnected:
            SetState(kIdle);
            break;
        default:
            break;
    }
}

void CChoiceServer::SendProbe() {
    std::string text;
    GetServerConfig().GetProbeText(text);
    SetState(kWaiting);
    Send(text.c_str(), static_cast<int>(text.size()));
}

void CChoiceServer::OnReceiveText(char* text, int length) {
    try {
        XMLTextReader reader;
        if (!ReadXmlText(reader, std::string(text, static_cast<size_t>(length > 0 ? length : 0)))) {
            SetState(kFailed);
        } else {
            std::vector<std::string> first;
            if (reader.Read()) first = AttributeValues(reader, 1);
            if (first.empty() || first[0] != "FENLO") {
                SetState(kWrongAnswer);
            } else if (reader.Read()) {
                const std::vector<std::string> second = AttributeValues(reader, 1);
                if (!second.empty() && second[0] == "PingData") SetState(kAnswered);
            }
        }
    } catch (...) {
        SetState(kFailed);
    }
    delete[] text;
}

void CChoiceServer::OnReceiveBinary(unsigned char* data, int) { delete[] data; }

void CChoiceServer::OnError(int) { SetState(kFailed); }

void CChoiceServer::SetState(int state) {
    LockBase<CriticalSection> guard(probeLock_);
    if (state_ == kFailed) return;
    state_ = state;
    if (state == kAnswered) time_ = timeGetTime() - time_;
}

int CChoiceServer::GetState() {
    LockBase<CriticalSection> guard(probeLock_);
    return state_;
}

void CChoiceServer::Read(int& state, DWORD& time) {
    LockBase<CriticalSection> guard(probeLock_);
    state = state_;
    time = time_;
}

ServerRecord CChoiceServer::GetRecord() {
    LockBase<CriticalSection> guard(probeLock_);
    return record_;
}

// ---- ServerCol --------------------------------------------------------------------

ServerCol::ServerCol() {}

ServerCol::~ServerCol() { DeleteProbes(); }

void ServerCol::DeleteProbes() {
    for (CChoiceServer*& probe : slots_) {
        if (!probe) continue;
        probe->Close();
        delete probe;
        probe = nullptr;
    }
}

void ServerCol::Start() {
    DeleteProbes();  // what a probing left unfinished
    remaining_.clear();
    GetServerConfig().GetServerList(remaining_);
    total_ = static_cast<int>(remaining_.size());
    finished_ = 0;
    bestTime_ = -1;
    slotCount_ = kSlots;
    if (total_ < slotCount_) slotCount_ = total_;
    nothingToProbe_ = total_ == 0;
    for (int slot = 0; slot < slotCount_; ++slot) StartProbe(slot);
}

void ServerCol::StartProbe(int slot) {
    CChoiceServer* probe = new CChoiceServer();
    slots_[slot] = probe;
    const ServerRecord record = remaining_.front();
    remaining_.erase(remaining_.begin());
    const int choice = GetLobbyData().serverChoice;
    if (choice != 0 && atoi(record.netType.c_str()) != choice) return;  // stays idle: finished at the next Poll
    probe->Probe(record);
}

void ServerCol::EndProbing() {
    DeleteProbes();
    remaining_.clear();
    finished_ = 0;
    total_ = 0;
    bestTime_ = -1;
    slotCount_ = kSlots;
}

int ServerCol::Poll() {
    if (nothingToProbe_) {  // a probing of an empty list ends at once
        nothingToProbe_ = false;
        EndProbing();
        return 1;
    }
    if (slotCount_ <= 0) return 0;
    CLobbyData& hub = GetLobbyData();
    const DWORD fastEnough = static_cast<DWORD>(hub.timeValue[0]);
    const DWORD timeLimit = static_cast<DWORD>(hub.timeValue[1]);
    for (int slot = 0; slot < slotCount_; ++slot) {
        CChoiceServer* probe = slots_[slot];
        if (!probe) continue;
        int state;
        DWORD time;
        probe->Read(state, time);
        if (state != CChoiceServer::kAnswered && timeGetTime() - time > timeLimit) state = CChoiceServer::kWrongAnswer;
        if (state == CChoiceServer::kAnswered) {
            if (bestTime_ < 0 || static_cast<int>(time) < bestTime_) {
                bestTime_ = static_cast<int>(time);
                chosen_ = probe->GetRecord();
            }
            if (bestTime_ <= static_cast<int>(fastEnough)) finished_ = total_;
        }
        if (state != CChoiceServer::kIdle && state != CChoiceServer::kFailed && state != CChoiceServer::kAnswered &&
            state != CChoiceServer::kWrongAnswer)
            continue;  // still connecting or waiting
        ++finished_;
        if (finished_ >= total_) {
            // An answer of 0 ms is an answer too.
            if (bestTime_ >= 0) GetServerConfig().WriteUpdaterConfig(chosen_);
            EndProbing();
            return 1;
        }
        probe->Close();
        delete probe;
        slots_[slot] = nullptr;
        // With no record left the slot stays empty; the hub's server choice is
        // the user's and stays as it is.
        if (!remaining_.empty()) StartProbe(slot);
    }
    return 0;
}
