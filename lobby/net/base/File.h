// A file stream over a Windows file handle. Open, read, write, cut and flush
// failures throw FileException with the system's text for the error; size and
// seek failures are returned.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <string>

#include "lobby/net/base/Stream.h"

class File : public IOStream {
public:
    // Open flags: an existing file may be opened, a new one may be created, and
    // the file is cut to 0 bytes. Neither of the first two is no valid mode.
    enum { kOpenExisting = 1, kCreateNew = 2, kTruncate = 4 };

    // path is UTF-8; access is a Windows access mask (GENERIC_READ...).
    File(const std::string& path, DWORD access, int flags);
    ~File() override;

    void Read(void* buffer, unsigned& size) override;
    virtual void Close();
    virtual DWORD GetSize();                              // low 32 bits; INVALID_FILE_SIZE on failure
    virtual bool SetSize(long long size);                 // false when a seek fails
    virtual long long GetPosition();                      // -1 on failure
    virtual long long SeekFromStart(long long distance);  // the new position, or -1
    virtual long long SeekFromEnd(long long distance);
    virtual long long SeekFromCurrent(long long distance);
    virtual void Truncate();  // cuts the file at the current position

    unsigned Write(const void* bytes, unsigned length) override;
    void Flush() override;

    File(const File&) = delete;
    File& operator=(const File&) = delete;

private:
    long long Seek(long long distance, DWORD method);

    HANDLE handle_;
};
