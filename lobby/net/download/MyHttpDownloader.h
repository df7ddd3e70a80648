// Application download: CMyHttpDownloader asks the application server where a
// game's package lies (one lobby frame out, one AppInfo frame back), downloads
// it over HTTP, writes it into the destination folder and, when asked, unpacks
// a ".zip" there with the outside unzip library. Every step is posted to the
// notify window as kMsgDownload (wParam the event, lParam its value):
//   5, 0        the connect step begins
//   6, 1 / 0    connected to the application server / not
//   1, total    the HTTP Content-Length is known
//   2, bytes    after each read, the bytes so far
//   3, total    the file is written (and unpacked)
//   4, 1 / 0    failed / aborted
// Failures to write or unpack the file and a target name that would leave the
// destination folder are failures (4, 1); a package that could not be unpacked
// is kept.
//
// Texts are 8-bit ANSI (GBK), as the dialog and the server give them.
#pragma once

#include <string>

#include "lobby/net/download/ClientSocket.h"
#include "lobby/net/download/DThread.h"
#include "lobby/net/download/HttpDownloader.h"
#include "lobby/net/engine/LobbyFrame.h"

enum DownloadEvent {
    kDownloadLength = 1,
    kDownloadProgress = 2,
    kDownloadDone = 3,
    kDownloadFailed = 4,
    kDownloadConnecting = 5,
    kDownloadConnected = 6,
};

// A thread whose step is ConnectStep.
class CMyConnectThread : public CDThread {
public:
    void Run() override { ConnectStep(); }
    virtual void ConnectStep() = 0;
};

class CMyHttpDownloader : public HttpDownloader, public CClientSocket, public CMyConnectThread {
public:
    // The largest answer taken from the application server.
    enum { kMaxAnswer = 64 * 1024 };

    CMyHttpDownloader();
    ~CMyHttpDownloader() override;

    int SetNotifyWindow(HWND window, int unpack);
    // Starts the connect step about 100 ms later, on the connect thread.
    int SetApplication(const char* host, int port, const char* name, const char* folder);
    // Stops the socket and connect threads and cancels the download.
    void Stop();

    const std::string& TargetFile() const { return targetFile_; }
    const std::string& Url() const { return url_; }

    void OnContentLength(int length) override;
    void OnProgress(int received) override;
    void OnError(int code) override;
    void OnComplete(void* body) override { SaveFile(body); }
    void OnReceive(const char* data, int length) override;
    void ConnectStep() override;

private:
    void SaveFile(void* body);
    int RequestAppInfo(const std::string& name, const std::string& version);
    int SendFrame(const std::string& text);
    // One frame from the application server; true for an AppInfo answer, which
    // ends the connection and starts the download when it names a url.
    bool OnAnswer(const char* payload, int length);
    void StartDownload();
    void Post(int event, int value);

    HWND window_ = nullptr;
    int unpack_ = 0;
    std::string targetFile_;
    std::string url_;
    std::string folder_;
    std::string name_;
    std::string version_;
    std::string serverHost_;
    int serverPort_ = 0;
    int total_ = 0;
    FrameReader answer_;  // the answer may come in pieces
};

// Unpacks a package into folder (made when missing) and deletes it; false, the
// package kept, when the unzip library is missing or reports an error.
bool UnzipPackage(const char* zipPath, const char* folder);
