// The lobby frame, the one framing of every message to and from both servers:
//   4 bytes payload length (unsigned, little-endian, header not counted)
//   1 byte  kind (1 = XML text, 0 = binary message form)
//   the payload
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum FrameKind { kFrameBinary = 0, kFrameText = 1 };

const size_t kFrameHeaderSize = 5;

// Payloads announced above this are refused: no real message comes near it
// (the largest the system writes are a few ten kilobytes), and a connection that
// announces more is broken or hostile.
const uint32_t kMaxFramePayload = 16u * 1024 * 1024;

// The whole frame, header and payload, as it goes on the wire.
std::vector<char> EncodeFrame(int kind, const void* payload, uint32_t length);

// Cuts a byte stream into frames. The caller reads into Space() at most
// Wanted() bytes (exactly what is still missing of the current header or body,
// so no byte of the next frame is taken) and reports the count to Commit().
class FrameReader {
public:
    enum Status {
        kNeedMore,  // the frame is not complete yet
        kFrame,     // a frame is complete: Kind(), Length(), TakeBody()
        kTooLong,   // the header announced more than the limit; the stream is lost
        kNoMemory,  // the body could not be allocated; the stream is lost
    };

    explicit FrameReader(uint32_t maxPayload = kMaxFramePayload);
    ~FrameReader();
    FrameReader(const FrameReader&) = delete;
    FrameReader& operator=(const FrameReader&) = delete;

    char* Space();
    uint32_t Wanted() const;
    Status Commit(uint32_t received);

    // The frame completed by the last kFrame: its kind byte, its payload length,
    // and its body (Length() bytes and a NUL), which the caller then owns and
    // frees with delete[].
    int Kind() const { return kind_; }
    uint32_t Length() const { return length_; }
    char* TakeBody();

    // Back to the start of a header; a partly read frame is thrown away.
    void Reset();

private:
    Status StartBody();
    Status Complete();

    uint32_t maxPayload_;
    bool inBody_ = false;
    uint32_t length_ = 0;
    int kind_ = kFrameText;
    uint32_t expected_ = kFrameHeaderSize;
    char header_[kFrameHeaderSize + 1] = {};
    char* body_ = nullptr;   // being filled
    char* ready_ = nullptr;  // completed, waiting for TakeBody
};
