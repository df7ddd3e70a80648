// Shared pieces of the start-up step tests: a window that records what the
// steps post to it, scratch ini files, the hub set up for a test, probe
// servers and the lobby's reply texts.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/startup/ServerConfig.h"
#include "tests/support/FakeLobby.h"
#include "tests/support/LoopbackServer.h"

// A message-only window on a thread of its own that records the messages
// posted to it. Status strings (WM_USER+6131) are taken over and deleted;
// char* texts of WM_USER+1 are copied at once.
class MessageSink {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        bool hasText;
        std::string text;
    };

    MessageSink();
    ~MessageSink();
    HWND Handle() const { return window_; }

    std::vector<Posted> Messages();
    std::vector<std::string> StatusLines();  // the WM_USER+6131 texts in order
    // Waits until at least count messages of that kind have arrived.
    bool WaitFor(UINT message, size_t count, int timeoutMs);
    size_t Count(UINT message);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Loop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Posted> messages_;
    HWND window_ = nullptr;
    std::thread thread_;
};

// A fresh folder under the temp path for one test's files (UTF-8 paths).
class Scratch {
public:
    Scratch();
    ~Scratch();
    std::string Path(const std::string& name) const { return folder_ + name; }
    void Write(const std::string& name, const std::string& text) const;
    std::string ReadIni(const std::string& name, const char* section, const char* key) const;

private:
    std::string folder_;
};


// Points the server configuration and the hub at the scratch files, gives the
// hub test settings and the time values, and clears what earlier tests left.
void PrepareHub(const Scratch& scratch, int time1, int time2, int time3, int time4);



// A server that answers every probe after delayMs (or never, with a negative
// delay), with the given answer text.
std::unique_ptr<testsupport::LoopbackServer> StartProbeServer(int delayMs,
                                                            const std::string& answer = testsupport::kPingAnswer);
