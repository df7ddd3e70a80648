// Starts GDI+ once per process: a page-file mapping named "GDIPlusInitID=<pid>"
// marks that some module of this process already started it.
#pragma once

#include <windows.h>

#include <gdiplus.h>

class InitGDIPlus {
public:
    void Initialize();
    void Deinitialize();
    bool StartedHere() const { return startedHere_; }

private:
    bool startedHere_ = false;
    HANDLE mapping_ = nullptr;
    ULONG_PTR token_ = 0;
    Gdiplus::GdiplusStartupInput input_;
    long refCount_ = 0;
};

InitGDIPlus& GetGdiPlusGuard();
