// Fuzz target: any byte stream, cut in pieces chosen by the input itself, must
// go through the frame reader and the UTF-8 decoder without a fault.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "lobby/net/base/Utf8.h"
#include "lobby/net/engine/LobbyFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = 1 + data[0] % 64;
    FrameReader reader(1 << 16);
    size_t at = 1;
    while (at < size) {
        size_t n = reader.Wanted();
        if (n > piece) n = piece;
        if (n > size - at) n = size - at;
        std::memcpy(reader.Space(), data + at, n);
        at += n;
        FrameReader::Status s = reader.Commit(static_cast<uint32_t>(n));
        if (s == FrameReader::kFrame) {
            char* body = reader.TakeBody();
            std::u16string text = Utf8ToUtf16(std::string(body, reader.Length()));
            (void)text;
            delete[] body;
        } else if (s != FrameReader::kNeedMore) {
            break;
        }
    }
    return 0;
}
