// HTTP on top of the loopback servers: read a request's head on a scripted
// connection and write a response.
//
//   LoopbackServer web([](Connection& c) {
//       std::string head;
//       if (ReadHttpRequest(c, head, 2000)) c.Send(HttpResponse(200, "body"));
//   });
#pragma once

#include <string>

#include "tests/support/LoopbackServer.h"

namespace testsupport {

// Reads up to and including the blank line that ends the request head; false
// on time-out, close or server stop. The request line is the head's first line.
bool ReadHttpRequest(Connection& connection, std::string& head, int timeoutMs);

// A complete HTTP/1.1 response with Content-Length and "Connection: close";
// extraHeaders are whole lines, each ending in CR LF.
std::string HttpResponse(int status, const std::string& body, const std::string& extraHeaders = "");

}  // namespace testsupport
