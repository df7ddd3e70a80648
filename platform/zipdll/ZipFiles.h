// Windows file helpers of the zip libraries (also used by the lobby's download):
// folder trees, code-page conversion, a read-only view of a whole file, and the
// reports a parameter block asks for.
#pragma once

#include <windows.h>

#include <string>

#include "platform/zipdll/ZipDllApi.h"

namespace zip {

bool IsFolder(const std::wstring& path);

// Creates the missing folders of a path, each prefix before a '\' or '/' and the
// whole path in turn, giving each folder it creates the normal attribute.
// Prefixes that cannot be folders (a drive, a server) are tried and pass. True
// when the whole path is a folder afterwards.
bool CreateFolderTree(const std::wstring& path);

// Text in a code page to UTF-16 and back; false when it cannot be converted.
bool ToWide(const std::string& text, UINT codePage, std::wstring& out);
std::string FromWide(const std::wstring& text, UINT codePage = CP_ACP);

// A file mapped read-only into memory; an empty file gives size 0.
class FileView {
public:
    explicit FileView(const char* path);
    ~FileView();
    bool Ok() const { return ok_; }
    const unsigned char* Data() const { return data_; }
    size_t Size() const { return size_; }

    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
    bool ok_ = false;
};

// Writes the whole buffer to a new file (replacing one that exists).
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size);

// Counts the errors of one Exec call and hands the reports its block asks for
// to the block's callback. Nothing that the callback does can throw through here.
class Reporter {
public:
    explicit Reporter(const ZipDllParams* params) : params_(params) {}
    void Error(int entry, int error, const char* what, const std::string& name);
    int Errors() const { return errors_; }

private:
    const ZipDllParams* params_;
    int errors_ = 0;
};

// Runs one Exec call: a null or wrong-version block, or an exception from
// inside (memory), becomes a reported error.
int GuardedExec(ZipDllParams* params, int (*exec)(const ZipDllParams& params, Reporter& reporter));

}  // namespace zip
