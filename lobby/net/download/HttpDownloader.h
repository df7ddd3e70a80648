// HttpDownloader: fetches one URL with asynchronous WinINet on a worker thread
// into one buffer sized from Content-Length, and reports through four virtual
// operations, all called on the worker. Only status 200 with a Content-Length is
// taken; a body that ends before that length fails, one that runs on is cut there.
//   OnError(1)  failed: open, status, missing length, read, a short body
//   OnError(0)  aborted: Cancel, a failed asynchronous completion
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on
#include <wininet.h>

#include <string>

struct HttpReadBuffer;

class HttpDownloader {
public:
    enum { kChunkSize = 8139 };
    enum { kAborted = 0, kFailed = 1 };

    HttpDownloader();
    virtual ~HttpDownloader();
    virtual void OnProgress(int received) = 0;
    virtual void OnError(int code) = 0;
    // The whole body, content-length bytes (and a NUL); freed after the call.
    virtual void OnComplete(void* body) = 0;
    virtual void OnContentLength(int length) = 0;

    // Starts a download on a new worker. A previous worker that has not ended
    // within 1000 ms is left to finish, and this download fails at once with
    // OnError(1) on the caller's thread.
    void Start(const char* url);
    void Cancel();

    int ContentLength() const { return static_cast<int>(contentLength_); }

    HttpDownloader(const HttpDownloader&) = delete;
    HttpDownloader& operator=(const HttpDownloader&) = delete;

protected:
    // Cancels and waits for the worker; a subclass calls it first in its destructor.
    void StopWorker();

private:
    static unsigned __stdcall DownloadThread(void* self);
    static unsigned __stdcall CallbackThread(void* self);
    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info,
                                        DWORD infoLength);
    void Download();
    // Reads the body; true when all of it arrived.
    bool ReadBody(HttpReadBuffer& buffer);
    // Waits for complete, closing or cancel; true when complete fired.
    bool WaitEvent();
    // Closes the request and then the session; false when the request's closing
    // never came, so that an asynchronous read may still write into its buffer.
    bool CloseHandles();
    HINTERNET Request();

    char* body_ = nullptr;
    DWORD contentLength_ = 0;
    HANDLE worker_ = nullptr;
    HANDLE complete_;
    HANDLE closing_;
    HANDLE cancel_;
    HANDLE callbackThread_ = nullptr;
    unsigned callbackThreadId_ = 0;
    unsigned workerId_ = 0;
    HINTERNET session_ = nullptr;
    HINTERNET request_ = nullptr;
    DWORD status_ = 0;
    std::string url_;
    HANDLE requestLock_;
};
