#include "tests/support/HttpServer.h"

namespace testsupport {

bool ReadHttpRequest(Connection& c, HttpRequest& request, int timeoutMs) {
    if (!c.ReadUntil("\r\n\r\n", request.head, 64 * 1024, timeoutMs)) return false;
    const size_t space = request.head.find(' ');
    const size_t second = request.head.find(' ', space + 1);
    if (space == std::string::npos || second == std::string::npos) return false;
    request.method = request.head.substr(0, space);
    request.path = request.head.substr(space + 1, second - space - 1);
    return true;
}

std::string HttpHead(int status, long long contentLength, const std::string& extraHeaders) {
    const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Status";
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
    if (contentLength >= 0) head += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    return head + extraHeaders + "Connection: close\r\n\r\n";
}

std::string HttpUrl(unsigned short port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace testsupport
