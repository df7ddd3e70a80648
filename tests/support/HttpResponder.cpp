#include "tests/support/HttpResponder.h"

namespace testsupport {

bool ReadHttpRequest(Connection& connection, std::string& head, int timeoutMs) {
    head.clear();
    const unsigned long long deadline = NowMs() + static_cast<unsigned long long>(timeoutMs);
    std::string byte;
    while (head.size() < 64 * 1024) {
        const unsigned long long now = NowMs();
        if (now >= deadline || !connection.ReadExact(1, byte, static_cast<int>(deadline - now))) return false;
        head += byte;
        if (head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0) return true;
    }
    return false;
}

std::string HttpResponse(int status, const std::string& body, const std::string& extraHeaders) {
    const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Status";
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

}  // namespace testsupport
