#include "lobby/net/binary/BinaryForm.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace binform {

const char* FailureText(Failure failure) {
    switch (failure) {
        case Failure::kNone:
            return "no failure";
        case Failure::kNoEncoding:
            return "message has no binary encoding";
        case Failure::kNoCode:
            return "message name has no code in the table";
        case Failure::kTooLong:
            return "message too long for the binary form";
        case Failure::kBadRequest:
            return "request lacks the fields of its message";
        case Failure::kNoDecoding:
            return "message code has no decoding";
        case Failure::kBadPacket:
            return "malformed binary message";
    }
    return "unknown failure";
}

bool CodeRows::FindByName(const std::string& name) {
    for (const MsgCodeEntry& row : table_)
        if (row.name == name) {
            current_ = row;
            return true;
        }
    return false;
}

bool CodeRows::FindByCode(unsigned char code) {
    for (const MsgCodeEntry& row : table_)
        if (row.code == code) {
            current_ = row;
            return true;
        }
    return false;
}

Encoder::Encoder(unsigned char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {
    std::memset(buffer_, 0, capacity_);
}

void Encoder::Put(const void* bytes, std::size_t count) {
    if (!ok_ || count > capacity_ - size_) {
        ok_ = false;
        return;
    }
    if (count) std::memcpy(buffer_ + size_, bytes, count);
    size_ += count;
}

void Encoder::Header(int code) {
    const unsigned char header[kHeaderSize] = {1, static_cast<unsigned char>(code & 0xFF), 1};
    Put(header, sizeof header);
}

void Encoder::Field(const std::string& value) {
    // Length and bytes go in together or not at all.
    if (value.size() > static_cast<std::size_t>(kMaxFieldLength) || 2 + value.size() > capacity_ - size_) {
        ok_ = false;
        return;
    }
    const unsigned char length[2] = {static_cast<unsigned char>(value.size() & 0xFF),
                                     static_cast<unsigned char>(value.size() >> 8)};
    Put(length, 2);
    Put(value.data(), value.size());
}

void Encoder::Word(std::uint16_t value) {
    const unsigned char field[4] = {2, 0, static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>(value >> 8)};
    Put(field, sizeof field);
}

Decoder::Decoder(const unsigned char* data, std::size_t size, std::size_t start)
    : data_(data), size_(data ? size : 0), at_(start), ok_(data != nullptr && start <= size_) {}

bool Decoder::Text(std::string& out, int minLength, int maxLength) {
    if (!ok_ || size_ - at_ < 2) return Fail();
    int length = static_cast<std::int16_t>(data_[at_] | (data_[at_ + 1] << 8));
    if (length < 0 || length < minLength || length > maxLength) return Fail();
    if (size_ - at_ - 2 < static_cast<std::size_t>(length)) return Fail();
    const char* text = reinterpret_cast<const char*>(data_ + at_ + 2);
    const void* nul = std::memchr(text, 0, static_cast<std::size_t>(length));
    std::size_t used =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : static_cast<std::size_t>(length);
    for (std::size_t i = 0; i < used; ++i)
        if (text[i] == '"' || text[i] == '<' || text[i] == '>') return Fail();
    out.assign(text, used);
    at_ += 2 + static_cast<std::size_t>(length);
    return true;
}

bool Decoder::Count(int& out, int minLength, int maxLength) {
    std::string text;
    if (!Text(text, minLength, maxLength)) return false;
    out = ToInt(text);
    return true;
}

int ToInt(const std::string& text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

}  // namespace binform
