// HTTP on top of the loopback server, for tests of HTTP clients: a handler reads
// the request head and scripts the answer with the Connection calls.
//
//   LoopbackServer server([](Connection& c) {
//       HttpRequest request;
//       if (ReadHttpRequest(c, request, 2000)) c.Send(HttpHead(200, 5) + "hello");
//   });
//   client.Get(HttpUrl(server.Port(), "/file.zip"));
#pragma once

#include <string>

#include "tests/support/LoopbackServer.h"

namespace testsupport {

struct HttpRequest {
    std::string method;
    std::string path;
    std::string head;  // everything up to and including the blank line
};

// Reads one request head; false on time-out, close or a head past 64 KB.
bool ReadHttpRequest(Connection& c, HttpRequest& request, int timeoutMs);

// A status line and headers, ending with the blank line. A negative length
// leaves Content-Length out; every answer says "Connection: close".
std::string HttpHead(int status, long long contentLength, const std::string& extraHeaders = std::string());

std::string HttpUrl(unsigned short port, const std::string& path);

}  // namespace testsupport
