// The binary message form shared by the lobby and the card-game client:
//   byte 0 = 1, byte 1 = message code, byte 2 = 1, then each field as a signed
//   16-bit little-endian length followed by that many bytes.
// Encoder writes into a fixed buffer and refuses what does not fit; Decoder reads
// within the packet's bounds and fails, for good, at the first field that breaks
// a rule, so that a bad packet is dropped whole rather than half read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "lobby/net/binary/MsgCodeEntry.h"

namespace binform {

const std::size_t kHeaderSize = 3;
const int kMaxFieldLength = 32767;

// Why the last translation gave no result (for the caller's log).
enum class Failure {
    kNone,
    kNoEncoding,  // request name without an outgoing layout
    kNoCode,      // request name without a row in the code table
    kTooLong,     // request larger than the encode buffer, or a value of 32768 bytes or more
    kBadRequest,  // request document without the fields its layout needs
    kNoDecoding,  // code without a row, or a row whose name has no incoming layout
    kBadPacket,   // packet shorter than its layout, or a field that breaks its limits
};
const char* FailureText(Failure failure);

// A translator's own copy of a code table and the row its last successful
// lookup found (a new one's current row has empty texts and no code).
class CodeRows {
public:
    void CopyIfEmpty(const MsgCodeTable& source) {
        if (table_.empty()) table_ = source;
    }
    // The first row with this name / whose whole code equals the byte becomes
    // current; false leaves the current row as it was.
    bool FindByName(const std::string& name);
    bool FindByCode(unsigned char code);
    const MsgCodeEntry& Current() const { return current_; }

private:
    MsgCodeEntry current_;
    MsgCodeTable table_;
};

// A decimal count read like atoi (leading blanks, sign, digits; no digits: 0),
// with out-of-range numbers clamped instead of undefined.
int ToInt(const std::string& text);

class Encoder {
public:
    // Zeroes the buffer; nothing is written beyond capacity.
    Encoder(unsigned char* buffer, std::size_t capacity);

    void Header(int code);  // 1, the code's low byte, 1
    void Field(const std::string& value);
    void Word(std::uint16_t value);  // a field of length 2 holding the value, little-endian

    bool Ok() const { return ok_; }  // false once a field did not fit
    std::size_t Size() const { return size_; }

private:
    void Put(const void* bytes, std::size_t count);

    unsigned char* buffer_;
    std::size_t capacity_;
    std::size_t size_ = 0;
    bool ok_ = true;
};

class Decoder {
public:
    // Reads fields from start (the header size for a whole packet).
    Decoder(const unsigned char* data, std::size_t size, std::size_t start = kHeaderSize);

    // The next field as text, up to its first NUL byte. Fails for a negative
    // length, a length outside minLength..maxLength, bytes beyond the packet, or
    // text that would break the rebuilt document (a double quote, "<" or ">").
    bool Text(std::string& out, int minLength = 0, int maxLength = kMaxFieldLength);
    // A count field: its text through ToInt.
    bool Count(int& out, int minLength = 0, int maxLength = kMaxFieldLength);

    bool Ok() const { return ok_; }
    std::size_t Position() const { return at_; }

private:
    bool Fail() { return ok_ = false; }

    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_;
    bool ok_;
};

}  // namespace binform
