#include "lobby/ui/app/GdiPlusGuard.h"

#include <cstdio>

void InitGDIPlus::Initialize() {
    if (!startedHere_) {
        char name[64];
        std::snprintf(name, sizeof(name), "GDIPlusInitID=%lx", static_cast<unsigned long>(::GetCurrentProcessId()));
        HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name);
        if (mapping && ::GetLastError() != ERROR_ALREADY_EXISTS) {
            mapping_ = mapping;
            startedHere_ = true;
            Gdiplus::GdiplusStartup(&token_, &input_, nullptr);
        } else if (mapping) {
            ::CloseHandle(mapping);
        }
    }
    ++refCount_;
}

void InitGDIPlus::Deinitialize() {
    if (refCount_ > 0) --refCount_;
    if (startedHere_ && refCount_ == 0) {
        Gdiplus::GdiplusShutdown(token_);
        ::CloseHandle(mapping_);
        mapping_ = nullptr;
        startedHere_ = false;
    }
}

InitGDIPlus& GetGdiPlusGuard() {
    static InitGDIPlus guard;
    return guard;
}
