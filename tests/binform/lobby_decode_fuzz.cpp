// Fuzz target: any bytes as a lobby binary message. A document, when one comes
// out, reads back and goes through the encoder; nothing else may happen.
#include <cstdint>
#include <memory>
#include <string>

#include "lobby/net/binary/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"
#include "tests/binform/DecodeFuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const MsgCodeTable table = binform_test::LobbyTable();
    CTranslateMsg decoder(table);
    std::unique_ptr<char[]> text(decoder.BinaryToXml(data, static_cast<int>(size)));
    if (!text) return 0;
    CheckDecodedDocument(text.get());
    CTranslateMsg encoder(table);
    encoder.XmlToBinary(text.get());
    return 0;
}
