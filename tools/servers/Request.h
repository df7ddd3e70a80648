// One message a client sent to our servers, read the way a server reads it:
// the name, then every attribute value of the elements after Message in
// document order (their names are never looked at).
#pragma once

#include <string>
#include <vector>

#include "lobby/net/binary/MsgCodeEntry.h"

namespace servers {

struct Request {
    std::string name;
    std::vector<std::string> values;
    bool binary = false;  // came as the binary form (its lists carry counts)
    bool document = false;  // false: a text that is no message document; when it is
                            // another XML document, name and values are its root's

    const std::string& Value(size_t i) const {
        static const std::string kEmpty;
        return i < values.size() ? values[i] : kEmpty;
    }
};

// A text frame's payload. The raw text is kept for texts that are not
// message documents (the lobby's "MAC=" line, a version request).
Request ReadTextRequest(const std::string& payload, std::string* root = nullptr);
// A binary frame's payload: the code's name in the table and every field to the
// end. False for a packet too short, of an unknown code, or with a field past the end.
bool ReadBinaryRequest(const std::string& payload, const MsgCodeTable& codes, Request& out);

}  // namespace servers
