// The lobby engines' seam to the rest of the lobby program: the data hub's
// translate flag and parser, and the binary translator with the hub's message
// code table. The data hub installs one at start-up (CLobbyEngine::SetLink).
// Without one, requests go out as XML text and received messages are dropped.
#pragma once

#include <string>

class LobbyLink {
public:
    virtual ~LobbyLink() {}
    // config.ini [MsgType] Type: requests go out in the binary message form.
    virtual bool TranslateFlag() = 0;
    // Encodes a NUL-terminated message document. Throws when the text is not
    // one or the message cannot be encoded: the request is then not sent.
    virtual std::string XmlToBinary(const char* xml) = 0;
    // Decodes one binary message into a new[]'d NUL-terminated XML text, or null
    // when it has no decoding (the frame is then dropped).
    virtual char* BinaryToXml(const unsigned char* data, int length) = 0;
    // Parses one received text and queues the message under the hub's lock; may
    // throw. The caller keeps and frees the text.
    virtual void PushPacket(const char* text, int length) = 0;
};
