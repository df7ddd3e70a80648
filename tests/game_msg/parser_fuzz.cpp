// Fuzz target: any bytes, NUL-terminated as the session hands them over, give
// a message of a known kind or nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    CMessage* m = GetMsgFactory()->ParseMessage(text.c_str(), static_cast<int>(text.size()));
    if (m && (m->typeId < 0 || m->typeId > 44 || m->typeId == 27)) std::abort();
    if (auto* play = dynamic_cast<CCardOutResultMsg*>(m))
        if (play->numbers.size() != play->suits.size()) std::abort();
    delete m;
    return 0;
}
