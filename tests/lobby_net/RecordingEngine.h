// A network engine for tests: records every callback into a Record that
// outlives the engine (so a test can look after deleting it), and lets a test
// hook the connect and frame callbacks.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "lobby/net/engine/ThreadEngine.h"
#include "tests/support/Patience.h"

struct Received {
    int kind;
    std::string payload;
};

struct Record {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Received> frames;
    std::vector<int> errors;
    std::vector<int> connectStates;  // GetConnState right after the base OnConnect
    int closes = 0;
    int sends = 0;
    int callbacks = 0;

    template <class Pred>
    bool WaitUntil(int timeoutMs, Pred pred) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::milliseconds(testsupport::Patience(timeoutMs)),
                                [&] { return pred(*this); });
    }
    bool WaitFrames(size_t n, int timeoutMs) {
        return WaitUntil(timeoutMs, [n](Record& r) { return r.frames.size() >= n; });
    }
    bool WaitErrors(size_t n, int timeoutMs) {
        return WaitUntil(timeoutMs, [n](Record& r) { return r.errors.size() >= n; });
    }
    bool WaitConnects(size_t n, int timeoutMs) {
        return WaitUntil(timeoutMs, [n](Record& r) { return r.connectStates.size() >= n; });
    }
    bool WaitCloses(int n, int timeoutMs) {
        return WaitUntil(timeoutMs, [n](Record& r) { return r.closes >= n; });
    }
    int Callbacks() {
        std::lock_guard<std::mutex> guard(mutex);
        return callbacks;
    }
    template <class F>
    auto With(F f) {
        std::lock_guard<std::mutex> guard(mutex);
        return f(*this);
    }
};

class RecordingEngine : public CThreadEngine {
public:
    explicit RecordingEngine(std::shared_ptr<Record> record = std::make_shared<Record>()) : record(std::move(record)) {}
    ~RecordingEngine() override { Close(); }

    // Run on the socket thread after the event is recorded; they may close or
    // delete the engine.
    std::function<void(RecordingEngine&)> onConnect;
    std::function<void(RecordingEngine&, const Received&)> onFrame;

    std::shared_ptr<Record> record;

    void OnConnect() override {
        CThreadEngine::OnConnect();
        const int state = GetConnState();
        if (onConnect) onConnect(*this);
        // Noted last: a test that waits for the connect sees the callback done.
        Note([&](Record& r) { r.connectStates.push_back(state); });
    }
    void OnReceiveText(char* data, int length) override { Frame(1, data, length); }
    void OnReceiveBinary(unsigned char* data, int length) override { Frame(0, reinterpret_cast<char*>(data), length); }
    void OnError(int code) override {
        Note([&](Record& r) { r.errors.push_back(code); });
    }
    void OnSend() override {
        Note([](Record& r) { ++r.sends; });
    }
    void OnClose() override {
        Note([](Record& r) { ++r.closes; });
    }

private:
    template <class F>
    void Note(F f) {
        std::lock_guard<std::mutex> guard(record->mutex);
        f(*record);
        ++record->callbacks;
        record->changed.notify_all();
    }
    void Frame(int kind, char* data, int length) {
        Received got{kind, std::string(data, static_cast<size_t>(length))};
        const bool terminated = data[length] == '\0';
        delete[] data;
        Note([&](Record& r) { r.frames.push_back(terminated ? got : Received{-1, "no NUL"}); });
        // Last: the hook may delete this engine.
        if (onFrame) {
            auto hook = onFrame;
            hook(*this, got);
        }
    }
};
