// Fuzz target: any bytes as a game binary packet, and as a request document. A
// decoded document reads back and goes through the encoder; nothing else may happen.
#include <cstdint>
#include <cstring>
#include <memory>

#include "game/core/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"
#include "tests/binform/DecodeFuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const MsgCodeTable table = binform_test::GameTable();
    CTranslateMsg raw(table);
    raw.XmlToBinary(reinterpret_cast<const char*>(data), static_cast<int>(size));

    CTranslateMsg decoder(table);
    std::unique_ptr<char[]> text(decoder.BinaryToXml(data, static_cast<int>(size)));
    if (!text) return 0;
    CheckDecodedDocument(text.get());
    CTranslateMsg encoder(table);
    encoder.XmlToBinary(text.get(), static_cast<int>(std::strlen(text.get())));
    return 0;
}
