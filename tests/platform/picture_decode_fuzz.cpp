// Fuzz target: any bytes through the PNG and BMP reader, once as they are and
// once with every PNG chunk's CRC made right, so that changed bytes reach the
// inflate and the row filters instead of stopping at the first CRC.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ByteOrder.h"
#include "platform/vantor/PictureDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vantor::DecodedPicture picture;
    vantor::DecodeSimplePicture(data, size, picture);
    std::vector<uint8_t> fixed(data, data + size);
    for (size_t at = 8; at + 12 <= fixed.size();) {
        const uint32_t length = ReadBe32(fixed.data() + at);
        if (length > fixed.size() - at - 12) break;
        const uint32_t crc = uint32_t(crc32(0, fixed.data() + at + 4, uInt(length + 4)));
        for (int i = 0; i < 4; ++i) fixed[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
        at += size_t(length) + 12;
    }
    vantor::DecodeSimplePicture(fixed.data(), fixed.size(), picture);
    return 0;
}
