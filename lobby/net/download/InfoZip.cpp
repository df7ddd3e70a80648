#include "lobby/net/download/InfoZip.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/zipdll/ZipFiles.h"

namespace {

// Shows what the unzip library reports as an error; 0 lets it go on.
int ZIPDLL_CALL ShowZipError(const ZipDllReport* report) {
    if (!report || report->error == 0) return 0;
    char text[sizeof report->text + 32];
    std::snprintf(text, sizeof text, "Zip error %d:\n%.*s", static_cast<int>(report->error),
                  static_cast<int>(sizeof report->text), report->text);
    MessageBoxA(nullptr, text, nullptr, MB_OK);
    return 0;
}

// Loads a library and its two entry points; the error state as CInfoZip keeps it.
int Load(const char* name, const char* versionName, const char* execName, HMODULE& dll, ZipDllVersionProc& version,
         ZipDllExecProc& exec) {
    if (!dll) dll = LoadLibraryA(name);
    if (!dll) return CInfoZip::kLoadFailed;
    version = reinterpret_cast<ZipDllVersionProc>(reinterpret_cast<void*>(GetProcAddress(dll, versionName)));
    exec = reinterpret_cast<ZipDllExecProc>(reinterpret_cast<void*>(GetProcAddress(dll, execName)));
    return version && exec ? CInfoZip::kNoError : CInfoZip::kEntryMissing;
}

void Free(HMODULE& dll, ZipDllVersionProc& version, ZipDllExecProc& exec) {
    if (!dll || !version || !exec) return;
    FreeLibrary(dll);
    dll = nullptr;
    version = nullptr;
    exec = nullptr;
}

}  // namespace

CInfoZip::~CInfoZip() { FreeDlls(); }

int CInfoZip::LoadZipDll() {
    if (ZipHeld()) return 1;
    const int e = Load("ZIPDLL.DLL", "GetZipDllVersion", "ZipDllExec", zipDll_, zipVersion_, zipExec_);
    if (e != kNoError) error_ = e;
    return e == kNoError ? 1 : 0;
}

int CInfoZip::LoadUnzipDll() {
    if (UnzipHeld()) return 1;
    const int e = Load("UNZDLL.DLL", "GetUnzDllVersion", "UnzDllExec", unzipDll_, unzipVersion_, unzipExec_);
    if (e != kNoError) error_ = e;
    return e == kNoError ? 1 : 0;
}

int CInfoZip::LoadDlls() {
    const int zip = LoadZipDll();
    const int unzip = LoadUnzipDll();
    return zip && unzip ? 1 : 0;
}

int CInfoZip::FreeZipDll() {
    Free(zipDll_, zipVersion_, zipExec_);
    return 1;
}

int CInfoZip::FreeUnzipDll() {
    Free(unzipDll_, unzipVersion_, unzipExec_);
    return 1;
}

int CInfoZip::FreeDlls() {
    FreeZipDll();
    FreeUnzipDll();
    return 1;
}

int CInfoZip::GetUnzipVersion() {
    if (!UnzipHeld()) {
        error_ = kUnzipNotLoaded;
        return 0;
    }
    return unzipVersion_();
}

int CInfoZip::Unzip(const char* zipPath, const char* folder) {
    if (!UnzipHeld() || !zipPath || !folder) return 0;
    // The archive's path must still lead to it from inside the folder.
    char full[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(zipPath, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return 0;
    char saved[261] = {};
    GetCurrentDirectoryA(sizeof saved, saved);
    if (!SetCurrentDirectoryA(folder)) return 0;

    ZipDllParams block;
    std::memset(&block, 0, sizeof block);
    block.version = GetUnzipVersion();
    block.report = ShowZipError;
    block.option1 = 1;
    block.option2 = 1;
    block.patternCount = 1;
    block.archive = _strdup(full);
    block.reportMask = 7;
    block.patterns[0] = static_cast<char*>(std::calloc(261, 1));
    int errors = 1;
    if (block.archive && block.patterns[0]) {
        std::strcpy(block.patterns[0], "*.*");
        errors = unzipExec_(&block);
    }
    std::free(block.archive);
    std::free(block.patterns[0]);
    SetCurrentDirectoryA(saved);
    return errors == 0 ? 1 : 0;
}

void CreateDirectoryTree(const char* path) {
    std::wstring wide;
    if (path && zip::ToWide(path, CP_ACP, wide)) zip::CreateFolderTree(wide);
}
