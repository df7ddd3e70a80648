// Internet session classes over WinINet: a session, an HTTP connection made
// from it and a request (CHttpFile) made from that. Each object owns its
// handle and closes it in Close or its destructor; a connection or a file must
// be closed before the session that made it. Failures of the calls that open
// or send throw CInternetException with the system error code.
//
// CInternetSession::Close may be called from another thread to abort the work
// in progress: the handles made from the session then fail, and their owners'
// later calls see closed handles rather than stale ones. (Wine lets a call
// already blocked in a receive run on to its time-out.)
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <memory>

#include "platform/CString.h"

class CInternetException {
public:
    explicit CInternetException(DWORD error) : m_dwError(error) {}
    DWORD m_dwError;
};

// Splits an http or https URL into its service type (AFX_INET_SERVICE_HTTP or
// _HTTPS), server, object (path and query, "/" when the URL has none) and port
// (the scheme's default when none is given). FALSE for anything else.
enum { AFX_INET_SERVICE_HTTP = 3, AFX_INET_SERVICE_HTTPS = 4 };
BOOL AfxParseURL(LPCSTR url, DWORD& serviceType, CString& server, CString& object, INTERNET_PORT& port);

namespace inet_detail {
// A handle that one thread may close while another uses it. Shared by the
// objects of one session, which all close when the session does.
class HandleSet;
}  // namespace inet_detail

class CHttpFile {
public:
    ~CHttpFile();
    // Sends the request; FALSE (with the error in GetLastError) when it fails.
    BOOL SendRequest();
    BOOL QueryInfoStatusCode(DWORD& statusCode);
    // Bytes that can be read now without waiting (0 at the end).
    DWORD GetLength();
    // Reads up to count bytes; 0 at the end of the body. Throws on failure.
    UINT Read(void* buffer, UINT count);
    void Close();

    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

private:
    friend class CHttpConnection;
    CHttpFile(std::shared_ptr<inet_detail::HandleSet> set, int slot);
    std::shared_ptr<inet_detail::HandleSet> set_;
    int slot_;
};

class CHttpConnection {
public:
    ~CHttpConnection();
    // Opens a request for the object; throws when it cannot. The caller owns
    // the file and deletes it.
    CHttpFile* OpenRequest(LPCSTR verb, LPCSTR object, LPCSTR referer = nullptr, DWORD_PTR context = 1,
                           LPCSTR* acceptTypes = nullptr, LPCSTR version = nullptr,
                           DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);
    void Close();

    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

private:
    friend class CInternetSession;
    CHttpConnection(std::shared_ptr<inet_detail::HandleSet> set, int slot);
    std::shared_ptr<inet_detail::HandleSet> set_;
    int slot_;
};

class CInternetSession {
public:
    // Opens the session; throws when WinINet cannot.
    explicit CInternetSession(LPCSTR agent = nullptr, DWORD_PTR context = 1,
                              DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG, LPCSTR proxyName = nullptr,
                              LPCSTR proxyBypass = nullptr, DWORD flags = 0);
    ~CInternetSession();
    // Connects to server:port; throws when it cannot. The caller owns the
    // connection and deletes it.
    CHttpConnection* GetHttpConnection(LPCSTR server, INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER,
                                       LPCSTR userName = nullptr, LPCSTR password = nullptr);
    // Sets a DWORD option (such as INTERNET_OPTION_RECEIVE_TIMEOUT) for the
    // session and what is opened from it later.
    BOOL SetOption(DWORD option, DWORD value);
    // Closes the session and every handle made from it; safe from any thread.
    void Close();

    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

private:
    std::shared_ptr<inet_detail::HandleSet> set_;
};
