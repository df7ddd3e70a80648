// The lobby's translator between message documents and the binary message form.
// One object per message: construct with the hub's code table, translate once,
// destroy. The table is copied on first use.
#pragma once

#include <string>

#include "lobby/net/binary/BinaryForm.h"
#include "lobby/net/binary/MsgCodeEntry.h"

class CTranslateMsg {
public:
    static const int kBufferSize = 1024;

    // source: the hub's message code table, read when a translation starts.
    explicit CTranslateMsg(const MsgCodeTable& source);
    CTranslateMsg(const CTranslateMsg&) = delete;
    CTranslateMsg& operator=(const CTranslateMsg&) = delete;
    virtual ~CTranslateMsg();

    // Copies the source table when this translator's own is still empty.
    void LoadTable();
    // 1 and the row made current when found, else 0 and the current row unchanged.
    int FindByName(std::string name);
    int FindByCode(unsigned char code);
    // Reads one field at `at`, not beyond `end`, as a text (up to its first NUL;
    // a zero length gives an empty one); returns the position after it, or null
    // (out unchanged) for a negative length or a field past `end`. The
    // translation itself reads its fields through its decoder, not through this.
    const unsigned char* ReadString(std::string& out, const unsigned char* at, const unsigned char* end);

    // Encodes a NUL-terminated request document into the translator's buffer and
    // returns it (length in GetEncodedLength()), or null when the request has no
    // encoding, no code, or does not fit; the encoded length then stays as it was.
    // A malformed document makes the XML reader throw through this call.
    unsigned char* XmlToBinary(const char* xml);
    // Decodes one binary message of `length` bytes into a new document text that
    // the caller frees with delete[], or null when it cannot be decoded whole.
    char* BinaryToXml(const unsigned char* data, int length);

    int GetEncodedLength() const { return encodedLength_; }
    const MsgCodeEntry& Current() const { return rows_.Current(); }
    binform::Failure LastFailure() const { return failure_; }

private:
    unsigned char* FailEncode(binform::Failure failure);
    char* FailDecode(binform::Failure failure);

    binform::CodeRows rows_;
    const MsgCodeTable& source_;
    int encodedLength_ = 0;
    binform::Failure failure_ = binform::Failure::kNone;
    unsigned char buffer_[kBufferSize];
};
