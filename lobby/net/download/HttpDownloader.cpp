#include "lobby/net/download/HttpDownloader.h"

#include <process.h>

#include <cstring>
#include <new>

namespace {

const DWORD kQueryStatus = HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER;     // 0x20000013
const DWORD kQueryLength = HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER;  // 0x20000005
const DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;
// The body and its NUL must fit one allocation and an int count.
const DWORD kMaxBody = 0x7FFFFFFE;
// How long the closing of the request may take before its buffer is given up.
const DWORD kClosingWait = 10000;

// Only an http or https address is opened: WinINet may leave anything else
// pending for ever.
bool IsHttpUrl(const std::string& url) {
    URL_COMPONENTSA parts;
    std::memset(&parts, 0, sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    return InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) &&
           (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS) &&
           parts.dwHostNameLength > 0;
}

}  // namespace

// One read's record and buffer. WinINet may still fill them after a failed or
// aborted read, so they live on the heap until the request has closed.
struct HttpReadBuffer {
    INTERNET_BUFFERSA record;
    char chunk[HttpDownloader::kChunkSize];
};

HttpDownloader::HttpDownloader()
    : complete_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      closing_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      cancel_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      requestLock_(CreateMutexA(nullptr, FALSE, nullptr)) {}

HttpDownloader::~HttpDownloader() {
    StopWorker();
    CloseHandle(complete_);
    CloseHandle(closing_);
    CloseHandle(cancel_);
    CloseHandle(requestLock_);
}

void HttpDownloader::StopWorker() {
    SetEvent(cancel_);
    if (!worker_) return;
    if (GetCurrentThreadId() != workerId_) WaitForSingleObject(worker_, INFINITE);
    CloseHandle(worker_);
    worker_ = nullptr;
}

void HttpDownloader::Start(const char* url) {
    if (worker_) {
        if (WaitForSingleObject(worker_, 1000) != WAIT_OBJECT_0) {
            OnError(kFailed);
            return;
        }
        CloseHandle(worker_);
        worker_ = nullptr;
    }
    contentLength_ = 0;
    url_ = url ? url : "";
    ResetEvent(complete_);
    ResetEvent(closing_);
    worker_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, DownloadThread, this, 0, &workerId_));
    if (!worker_) OnError(kFailed);
}

void HttpDownloader::Cancel() { SetEvent(cancel_); }

unsigned __stdcall HttpDownloader::DownloadThread(void* self) {
    static_cast<HttpDownloader*>(self)->Download();
    return 0;
}

unsigned __stdcall HttpDownloader::CallbackThread(void* self) {
    HttpDownloader* d = static_cast<HttpDownloader*>(self);
    InternetSetStatusCallbackA(d->session_, StatusCallback);
    SetEvent(d->complete_);
    return 0;
}

void CALLBACK HttpDownloader::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                                             DWORD infoLength) {
    HttpDownloader* d = reinterpret_cast<HttpDownloader*>(context);
    if (!d) return;
    const INTERNET_ASYNC_RESULT* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
    switch (status) {
        case INTERNET_STATUS_HANDLE_CREATED:
            if (!result || infoLength < sizeof(DWORD_PTR)) break;
            WaitForSingleObject(d->requestLock_, INFINITE);
            d->request_ = reinterpret_cast<HINTERNET>(result->dwResult);
            ReleaseMutex(d->requestLock_);
            break;
        case INTERNET_STATUS_HANDLE_CLOSING:
            SetEvent(d->closing_);
            break;
        case INTERNET_STATUS_REQUEST_COMPLETE:
            SetEvent(result && infoLength >= sizeof *result && result->dwError != 0 ? d->cancel_ : d->complete_);
            break;
        default:
            break;
    }
}

HINTERNET HttpDownloader::Request() {
    WaitForSingleObject(requestLock_, INFINITE);
    HINTERNET r = request_;
    ReleaseMutex(requestLock_);
    return r;
}

bool HttpDownloader::WaitEvent() {
    HANDLE events[3] = {complete_, closing_, cancel_};
    return WaitForMultipleObjects(3, events, FALSE, INFINITE) == WAIT_OBJECT_0;
}

void HttpDownloader::Download() {
    if (!IsHttpUrl(url_)) return OnError(kFailed);
    session_ = InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    if (!session_) return OnError(kFailed);
    ResetEvent(complete_);
    callbackThread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, CallbackThread, this, 0, &callbackThreadId_));
    if (!callbackThread_) {
        InternetCloseHandle(session_);
        session_ = nullptr;
        return OnError(kFailed);
    }
    WaitForSingleObject(complete_, INFINITE);
    ResetEvent(complete_);

    WaitForSingleObject(requestLock_, INFINITE);
    HINTERNET opened =
        InternetOpenUrlA(session_, url_.c_str(), nullptr, 0, kOpenFlags, reinterpret_cast<DWORD_PTR>(this));
    const DWORD openError = GetLastError();
    if (opened) request_ = opened;  // a handle the callback stored already is kept
    ReleaseMutex(requestLock_);

    HttpReadBuffer* buffer = new (std::nothrow) HttpReadBuffer;
    bool whole = false;
    if (!opened && openError != ERROR_IO_PENDING) {
        OnError(kFailed);
    } else if (!opened && !WaitEvent()) {
        SetEvent(cancel_);
        OnError(kAborted);
    } else if (!Request() || !buffer) {
        OnError(kFailed);
    } else {
        whole = ReadBody(*buffer);
    }
    if (CloseHandles()) delete buffer;
    if (whole) OnComplete(body_);
    delete[] body_;
    body_ = nullptr;
}

bool HttpDownloader::ReadBody(HttpReadBuffer& buffer) {
    HINTERNET request = Request();
    DWORD size = sizeof status_;
    status_ = 0;
    if (!HttpQueryInfoA(request, kQueryStatus, &status_, &size, nullptr) || status_ != 200) {
        OnError(kFailed);
        return false;
    }
    DWORD length = 0;
    size = sizeof length;
    if (!HttpQueryInfoA(request, kQueryLength, &length, &size, nullptr) || length > kMaxBody) {
        OnError(kFailed);
        return false;
    }
    contentLength_ = length;
    OnContentLength(static_cast<int>(length));
    body_ = new (std::nothrow) char[length + 1];
    if (!body_) {
        OnError(kFailed);
        return false;
    }
    body_[length] = 0;

    DWORD received = 0;
    while (received < length) {
        INTERNET_BUFFERSA& r = buffer.record;
        std::memset(&r, 0, sizeof r);
        r.dwStructSize = sizeof r;
        r.lpvBuffer = buffer.chunk;
        r.dwBufferLength = kChunkSize;
        ResetEvent(complete_);
        if (!InternetReadFileExA(request, &r, IRF_ASYNC, reinterpret_cast<DWORD_PTR>(this))) {
            if (GetLastError() != ERROR_IO_PENDING) {
                OnError(kFailed);
                return false;
            }
            if (!WaitEvent()) {
                OnError(kAborted);
                return false;
            }
        } else if (WaitForSingleObject(cancel_, 0) == WAIT_OBJECT_0) {
            ResetEvent(cancel_);
            OnError(kAborted);
            return false;
        }
        // An empty read is the end of the body, before its announced length. Bytes
        // past that length are no part of it (Wine's WinINet may hand some out).
        DWORD n = r.dwBufferLength;
        if (n == 0 || n > kChunkSize) {
            OnError(kFailed);
            return false;
        }
        if (n > length - received) n = length - received;
        std::memcpy(body_ + received, buffer.chunk, n);
        received += n;
        OnProgress(static_cast<int>(received));
    }
    return true;
}

bool HttpDownloader::CloseHandles() {
    bool closed = true;
    if (HINTERNET request = Request()) {
        InternetCloseHandle(request);
        // Only the closing notice says that WinINet has let go of the read buffer.
        closed = false;
        const DWORD start = GetTickCount();
        HANDLE events[2] = {closing_, complete_};
        for (;;) {
            const DWORD spent = GetTickCount() - start;
            if (spent >= kClosingWait) break;
            const DWORD r = WaitForMultipleObjects(2, events, FALSE, kClosingWait - spent);
            if (r == WAIT_OBJECT_0) {
                closed = true;
                break;
            }
            if (r != WAIT_OBJECT_0 + 1) break;
            ResetEvent(complete_);
        }
    }
    WaitForSingleObject(requestLock_, INFINITE);
    request_ = nullptr;
    ReleaseMutex(requestLock_);
    if (callbackThread_) {
        WaitForSingleObject(callbackThread_, INFINITE);
        CloseHandle(callbackThread_);
        callbackThread_ = nullptr;
    }
    InternetSetStatusCallbackA(session_, nullptr);
    InternetCloseHandle(session_);
    session_ = nullptr;
    return closed;
}
