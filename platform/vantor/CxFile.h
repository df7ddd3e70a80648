// Byte streams the image classes decode from: a file (CxIOFile) or a block
// of memory (CxMemFile).
#pragma once

#include <windows.h>

#include <cstdio>

#include "platform/vantor/VantorApi.h"

class VANTOR_API CxFile {
public:
    virtual ~CxFile() = default;
    virtual bool Close() = 0;
    // Reads or writes count items of size bytes; returns the items done.
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    virtual bool Seek(long offset, int origin) = 0;  // SEEK_SET, SEEK_CUR, SEEK_END
    virtual long Tell() = 0;
    virtual long Size() = 0;
    virtual bool Eof() = 0;
};

class VANTOR_API CxIOFile : public CxFile {
public:
    // Wraps an open stream (not closed by this object) or nothing.
    explicit CxIOFile(FILE* fp = nullptr) : m_fp(fp), m_bCloseFile(false) {}
    ~CxIOFile() override { Close(); }
    CxIOFile(const CxIOFile&) = delete;
    CxIOFile& operator=(const CxIOFile&) = delete;

    bool Open(const char* filename, const char* mode);
    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(long offset, int origin) override;
    long Tell() override;
    long Size() override;
    bool Eof() override;

private:
    FILE* m_fp;
    bool m_bCloseFile;
};

class VANTOR_API CxMemFile : public CxFile {
public:
    // Over the caller's buffer (not owned, fixed size), or, without one, a
    // buffer of its own that grows as it is written.
    explicit CxMemFile(BYTE* buffer = nullptr, DWORD size = 0);
    ~CxMemFile() override { Close(); }
    CxMemFile(const CxMemFile&) = delete;
    CxMemFile& operator=(const CxMemFile&) = delete;

    bool Open() { return true; }
    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(long offset, int origin) override;
    long Tell() override { return m_Position; }
    long Size() override { return m_Size; }
    bool Eof() override { return m_Position >= m_Size; }
    BYTE* GetBuffer() { return m_pBuffer; }

private:
    bool Grow(long size);

    BYTE* m_pBuffer;
    long m_Size;
    long m_Capacity;
    long m_Position;
    bool m_bFreeOnClose;
};
