#include "lobby/ui/app/GifOleCheck.h"

#include <windows.h>

#include <ole2.h>

namespace {
const CLSID kGifControl = {0x06ADA938, 0x0FB0, 0x4BC0, {0xB1, 0x9B, 0x0A, 0x38, 0xAB, 0x17, 0xF1, 0x82}};
const IID kGifInterface = {0x0C1CF2DF, 0x05A3, 0x4FEF, {0x8C, 0xD4, 0xF5, 0xCF, 0xC4, 0x35, 0x5A, 0x16}};
}  // namespace

int IsGifOleControlAvailable() {
    IUnknown* object = nullptr;
    if (FAILED(::CoCreateInstance(kGifControl, nullptr, 23, IID_IUnknown, reinterpret_cast<void**>(&object))))
        return 0;
    int ok = 0;
    if (SUCCEEDED(::OleRun(object))) {
        IUnknown* control = nullptr;
        if (SUCCEEDED(object->QueryInterface(kGifInterface, reinterpret_cast<void**>(&control)))) {
            control->Release();
            ok = 1;
        }
    }
    object->Release();
    return ok;
}
