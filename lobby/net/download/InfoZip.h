// CInfoZip drives the outside zip libraries "ZIPDLL.DLL" and "UNZDLL.DLL",
// loaded by name (the system's search order); CreateDirectoryTree makes the
// missing folders of a path. Paths are 8-bit ANSI (GBK) text.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "platform/zipdll/ZipDllApi.h"

class CInfoZip {
public:
    enum Error { kNoError = 0, kLoadFailed = 1, kEntryMissing = 2, kUnzipNotLoaded = 3 };

    CInfoZip() {}
    virtual ~CInfoZip();

    // 1 when the library and both its entry points are held; a library whose
    // entry point is missing stays loaded until the object goes.
    int LoadZipDll();
    int LoadUnzipDll();
    int LoadDlls();  // both, the zip library first; 1 when both are held
    int FreeZipDll();
    int FreeUnzipDll();
    int FreeDlls();
    // The unzip library's version, or 0 (error state 3) when it is not held.
    int GetUnzipVersion();
    // Unpacks every entry of the archive into folder, whose folders must exist;
    // errors are shown in a message box as the library reports them. 1 when the
    // library ran and reported no error; 0 when it is not held, the folder cannot
    // be entered, or something failed. The process's current directory is the
    // folder meanwhile.
    int Unzip(const char* zipPath, const char* folder);

    int GetError() const { return error_; }

    CInfoZip(const CInfoZip&) = delete;
    CInfoZip& operator=(const CInfoZip&) = delete;

private:
    bool UnzipHeld() const { return unzipDll_ && unzipExec_ && unzipVersion_; }
    bool ZipHeld() const { return zipDll_ && zipExec_ && zipVersion_; }

    int error_ = kNoError;
    HMODULE zipDll_ = nullptr;
    HMODULE unzipDll_ = nullptr;
    ZipDllExecProc unzipExec_ = nullptr;
    ZipDllExecProc zipExec_ = nullptr;
    ZipDllVersionProc zipVersion_ = nullptr;
    ZipDllVersionProc unzipVersion_ = nullptr;
};

// Creates the missing folders of a path (separated by '\' or '/'); nothing when
// it is a folder already.
void CreateDirectoryTree(const char* path);
