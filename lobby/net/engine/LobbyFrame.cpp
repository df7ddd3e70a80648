#include "lobby/net/engine/LobbyFrame.h"

#include <cstring>
#include <new>

std::vector<char> EncodeFrame(int kind, const void* payload, uint32_t length) {
    std::vector<char> frame(kFrameHeaderSize + static_cast<size_t>(length));
    for (int i = 0; i < 4; ++i) frame[i] = static_cast<char>(length >> (8 * i) & 0xFF);
    frame[4] = static_cast<char>(kind);
    if (length) std::memcpy(frame.data() + kFrameHeaderSize, payload, length);
    return frame;
}

FrameReader::FrameReader(uint32_t maxPayload) : maxPayload_(maxPayload) {}

FrameReader::~FrameReader() {
    delete[] body_;
    delete[] ready_;
}

char* FrameReader::Space() {
    if (inBody_) return body_ + (length_ - expected_);
    return header_ + (kFrameHeaderSize - expected_);
}

uint32_t FrameReader::Wanted() const { return expected_; }

FrameReader::Status FrameReader::Commit(uint32_t received) {
    if (received > expected_) received = expected_;  // never trust a caller past the buffer
    expected_ -= received;
    if (!inBody_) {
        if (expected_ != 0) return kNeedMore;
        return StartBody();
    }
    if (expected_ != 0) return kNeedMore;
    return Complete();
}

FrameReader::Status FrameReader::StartBody() {
    header_[kFrameHeaderSize] = 0;
    const unsigned char* h = reinterpret_cast<const unsigned char*>(header_);
    length_ = uint32_t(h[0]) | uint32_t(h[1]) << 8 | uint32_t(h[2]) << 16 | uint32_t(h[3]) << 24;
    kind_ = h[4];
    if (length_ > maxPayload_) {
        Reset();
        return kTooLong;
    }
    body_ = new (std::nothrow) char[length_ + 1];
    if (!body_) {
        Reset();
        return kNoMemory;
    }
    inBody_ = true;
    expected_ = length_;
    // An empty payload is complete with its header: it need not wait for more bytes.
    return length_ == 0 ? Complete() : kNeedMore;
}

FrameReader::Status FrameReader::Complete() {
    body_[length_] = 0;
    delete[] ready_;
    ready_ = body_;
    body_ = nullptr;
    inBody_ = false;
    expected_ = kFrameHeaderSize;
    return kFrame;
}

char* FrameReader::TakeBody() {
    char* body = ready_;
    ready_ = nullptr;
    return body;
}

void FrameReader::Reset() {
    delete[] body_;
    body_ = nullptr;
    inBody_ = false;
    expected_ = kFrameHeaderSize;
}
