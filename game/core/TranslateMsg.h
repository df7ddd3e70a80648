// The card-game client's translator between message documents and the binary
// message form. One object per message: construct with the session's code table,
// translate once, destroy. The table is copied on first use.
#pragma once

#include <functional>
#include <string>

#include "lobby/net/binary/BinaryForm.h"
#include "lobby/net/binary/MsgCodeEntry.h"

class CTranslateMsg {
public:
    static const int kBufferSize = 512;

    // source: the session's message table. loadSource fills it from the client's
    // code file; it is called whenever a translation finds the table empty.
    explicit CTranslateMsg(const MsgCodeTable& source, std::function<void()> loadSource = nullptr);
    CTranslateMsg(const CTranslateMsg&) = delete;
    CTranslateMsg& operator=(const CTranslateMsg&) = delete;
    virtual ~CTranslateMsg();

    // Has the source loaded while it is empty, then copies it when this
    // translator's own table is still empty.
    void LoadTable();
    // 1 and the row made current when found, else 0 and the current row unchanged.
    int FindByName(std::string name);
    int FindByCode(int code);  // its low 8 bits against each row's whole code

    // Encodes one request document of `length` bytes into the translator's
    // buffer and returns it (size in GetPacketLength()), or null when the request
    // has no outgoing layout, no code, is malformed or does not fit; the packet
    // length then stays as it was.
    unsigned char* XmlToBinary(const char* xml, int length);
    // Decodes one packet of `length` bytes into a new document text that the
    // caller frees with delete[], or null when it cannot be decoded whole.
    char* BinaryToXml(const unsigned char* packet, int length);

    int GetPacketLength() const { return packetLength_; }
    const MsgCodeEntry& Current() const { return rows_.Current(); }
    binform::Failure LastFailure() const { return failure_; }

private:
    unsigned char* FailEncode(binform::Failure failure);

    binform::CodeRows rows_;
    const MsgCodeTable& source_;
    std::function<void()> loadSource_;
    int packetLength_ = 0;
    binform::Failure failure_ = binform::Failure::kNone;
    unsigned char buffer_[kBufferSize];
};
