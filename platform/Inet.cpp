#include "platform/Inet.h"

#include <string>
#include <vector>

namespace inet_detail {

// The handles of one session (slot 0) and of what was opened from it.
class HandleSet {
public:
    HandleSet() { InitializeCriticalSection(&lock_); }
    ~HandleSet() {
        CloseAll();
        DeleteCriticalSection(&lock_);
    }

    // The new handle's slot; -1 (and the handle closed) when the set is closed.
    int Add(HINTERNET handle) {
        EnterCriticalSection(&lock_);
        const bool closed = closed_;
        if (!closed) handles_.push_back(handle);
        const int slot = static_cast<int>(handles_.size()) - 1;
        LeaveCriticalSection(&lock_);
        if (!closed) return slot;
        InternetCloseHandle(handle);
        return -1;
    }

    HINTERNET Get(int slot) {
        EnterCriticalSection(&lock_);
        HINTERNET handle = slot >= 0 && slot < static_cast<int>(handles_.size()) ? handles_[slot] : nullptr;
        LeaveCriticalSection(&lock_);
        return handle;
    }

    void Close(int slot) {
        HINTERNET handle = nullptr;
        EnterCriticalSection(&lock_);
        if (slot >= 0 && slot < static_cast<int>(handles_.size())) {
            handle = handles_[slot];
            handles_[slot] = nullptr;
        }
        LeaveCriticalSection(&lock_);
        if (handle) InternetCloseHandle(handle);
    }

    // Children first, the session last; later Adds close their handle at once.
    void CloseAll() {
        std::vector<HINTERNET> taken;
        EnterCriticalSection(&lock_);
        closed_ = true;
        taken.swap(handles_);
        handles_.assign(taken.size(), nullptr);
        LeaveCriticalSection(&lock_);
        for (auto it = taken.rbegin(); it != taken.rend(); ++it)
            if (*it) InternetCloseHandle(*it);
    }

    HandleSet(const HandleSet&) = delete;
    HandleSet& operator=(const HandleSet&) = delete;

private:
    CRITICAL_SECTION lock_;
    std::vector<HINTERNET> handles_;
    bool closed_ = false;
};

}  // namespace inet_detail

namespace {

HINTERNET Require(HINTERNET handle) {
    if (!handle) throw CInternetException(ERROR_INTERNET_OPERATION_CANCELLED);
    return handle;
}

}  // namespace

BOOL AfxParseURL(LPCSTR url, DWORD& serviceType, CString& server, CString& object, INTERNET_PORT& port) {
    serviceType = 0;
    if (!url) return FALSE;
    const std::string text(url);
    std::vector<char> host(text.size() + 1), path(text.size() + 1), extra(text.size() + 1);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!InternetCrackUrlA(text.c_str(), static_cast<DWORD>(text.size()), 0, &parts)) return FALSE;
    if (parts.nScheme == INTERNET_SCHEME_HTTP)
        serviceType = AFX_INET_SERVICE_HTTP;
    else if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        serviceType = AFX_INET_SERVICE_HTTPS;
    else
        return FALSE;
    server = CString(host.data(), static_cast<int>(parts.dwHostNameLength));
    std::string target(path.data(), parts.dwUrlPathLength);
    target.append(extra.data(), parts.dwExtraInfoLength);
    object = CString(target.empty() ? std::string("/") : target);
    port = parts.nPort;
    return !server.IsEmpty();
}

// ---- CHttpFile ------------------------------------------------------------------

CHttpFile::CHttpFile(std::shared_ptr<inet_detail::HandleSet> set, int slot) : set_(std::move(set)), slot_(slot) {}

CHttpFile::~CHttpFile() { Close(); }

BOOL CHttpFile::SendRequest() {
    HINTERNET handle = set_->Get(slot_);
    if (!handle) {
        SetLastError(ERROR_INTERNET_OPERATION_CANCELLED);
        return FALSE;
    }
    return HttpSendRequestA(handle, nullptr, 0, nullptr, 0);
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& statusCode) {
    HINTERNET handle = set_->Get(slot_);
    DWORD size = sizeof statusCode;
    return handle &&
           HttpQueryInfoA(handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &statusCode, &size, nullptr);
}

DWORD CHttpFile::GetLength() {
    HINTERNET handle = set_->Get(slot_);
    DWORD available = 0;
    if (!handle || !InternetQueryDataAvailable(handle, &available, 0, 0)) return 0;
    return available;
}

UINT CHttpFile::Read(void* buffer, UINT count) {
    HINTERNET handle = Require(set_->Get(slot_));
    DWORD read = 0;
    if (!InternetReadFile(handle, buffer, count, &read)) throw CInternetException(GetLastError());
    return read;
}

void CHttpFile::Close() { set_->Close(slot_); }

// ---- CHttpConnection --------------------------------------------------------------

CHttpConnection::CHttpConnection(std::shared_ptr<inet_detail::HandleSet> set, int slot)
    : set_(std::move(set)), slot_(slot) {}

CHttpConnection::~CHttpConnection() { Close(); }

CHttpFile* CHttpConnection::OpenRequest(LPCSTR verb, LPCSTR object, LPCSTR referer, DWORD_PTR context,
                                        LPCSTR* acceptTypes, LPCSTR version, DWORD flags) {
    HINTERNET request =
        HttpOpenRequestA(Require(set_->Get(slot_)), verb, object, version, referer, acceptTypes, flags, context);
    if (!request) throw CInternetException(GetLastError());
    const int slot = set_->Add(request);
    if (slot < 0) throw CInternetException(ERROR_INTERNET_OPERATION_CANCELLED);
    return new CHttpFile(set_, slot);
}

void CHttpConnection::Close() { set_->Close(slot_); }

// ---- CInternetSession --------------------------------------------------------------

CInternetSession::CInternetSession(LPCSTR agent, DWORD_PTR context, DWORD accessType, LPCSTR proxyName,
                                   LPCSTR proxyBypass, DWORD flags)
    : set_(std::make_shared<inet_detail::HandleSet>()) {
    (void)context;
    HINTERNET session = InternetOpenA(agent, accessType, proxyName, proxyBypass, flags);
    if (!session) throw CInternetException(GetLastError());
    set_->Add(session);
}

CInternetSession::~CInternetSession() { Close(); }

CHttpConnection* CInternetSession::GetHttpConnection(LPCSTR server, INTERNET_PORT port, LPCSTR userName,
                                                     LPCSTR password) {
    HINTERNET connection =
        InternetConnectA(Require(set_->Get(0)), server, port, userName, password, INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection) throw CInternetException(GetLastError());
    const int slot = set_->Add(connection);
    if (slot < 0) throw CInternetException(ERROR_INTERNET_OPERATION_CANCELLED);
    return new CHttpConnection(set_, slot);
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value) {
    HINTERNET session = set_->Get(0);
    return session && InternetSetOptionA(session, option, &value, sizeof value);
}

void CInternetSession::Close() { set_->CloseAll(); }
