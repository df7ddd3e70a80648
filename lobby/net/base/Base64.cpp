#include "lobby/net/base/Base64.h"

namespace {

int Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return 0;
}

}  // namespace

void Base64Decode(const char* text, int length, unsigned* counter, std::string& out) {
    std::string built;
    unsigned produced = 0;
    if (!text) length = 0;
    int at = 0;
    while (at < length) {
        if (text[at] == '\r' || text[at] == '\n') {
            ++at;
            continue;
        }
        const int have = length - at < 4 ? length - at : 4;
        unsigned char c[4] = {'=', '=', '=', '='};
        for (int i = 0; i < have; ++i) c[i] = static_cast<unsigned char>(text[at + i]);
        at += 4;
        if (have < 2) break;  // a lone character holds no whole byte
        const int v0 = Value(c[0]), v1 = Value(c[1]);
        built += static_cast<char>((v0 * 4 + v1 / 16) % 256);
        ++produced;
        if (c[2] == '=') continue;
        const int v2 = Value(c[2]);
        built += static_cast<char>(((v1 % 16) * 16 + v2 / 4) % 256);
        ++produced;
        if (c[3] == '=') continue;
        built += static_cast<char>(((v2 % 4) * 64 + Value(c[3])) % 256);
        ++produced;
    }
    out = built;
    if (counter) *counter += produced;
}
