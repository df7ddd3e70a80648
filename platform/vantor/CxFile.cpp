#include "platform/vantor/CxFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>

// ---- CxIOFile -----------------------------------------------------------------

bool CxIOFile::Open(const char* filename, const char* mode) {
    Close();
    m_fp = std::fopen(filename, mode);
    m_bCloseFile = m_fp != nullptr;
    return m_fp != nullptr;
}

bool CxIOFile::Close() {
    bool ok = true;
    if (m_fp && m_bCloseFile) ok = std::fclose(m_fp) == 0;
    m_fp = nullptr;
    m_bCloseFile = false;
    return ok;
}

size_t CxIOFile::Read(void* buffer, size_t size, size_t count) {
    return m_fp ? std::fread(buffer, size, count, m_fp) : 0;
}

size_t CxIOFile::Write(const void* buffer, size_t size, size_t count) {
    return m_fp ? std::fwrite(buffer, size, count, m_fp) : 0;
}

bool CxIOFile::Seek(long offset, int origin) { return m_fp && std::fseek(m_fp, offset, origin) == 0; }

long CxIOFile::Tell() { return m_fp ? std::ftell(m_fp) : -1; }

long CxIOFile::Size() {
    if (!m_fp) return -1;
    long at = std::ftell(m_fp);
    std::fseek(m_fp, 0, SEEK_END);
    long size = std::ftell(m_fp);
    std::fseek(m_fp, at, SEEK_SET);
    return size;
}

bool CxIOFile::Eof() { return !m_fp || std::feof(m_fp) != 0; }

// ---- CxMemFile ----------------------------------------------------------------

CxMemFile::CxMemFile(BYTE* buffer, DWORD size)
    : m_pBuffer(buffer),
      m_Size(buffer ? static_cast<long>(size > LONG_MAX ? LONG_MAX : size) : 0),
      m_Capacity(m_Size),
      m_Position(0),
      m_bFreeOnClose(buffer == nullptr) {}

bool CxMemFile::Close() {
    if (m_bFreeOnClose) std::free(m_pBuffer);
    m_pBuffer = nullptr;
    m_Size = m_Capacity = m_Position = 0;
    return true;
}

size_t CxMemFile::Read(void* buffer, size_t size, size_t count) {
    if (!buffer || size == 0 || m_Position >= m_Size) return 0;
    size_t items = static_cast<size_t>(m_Size - m_Position) / size;
    if (items > count) items = count;
    std::memcpy(buffer, m_pBuffer + m_Position, items * size);
    m_Position += static_cast<long>(items * size);
    return items;
}

bool CxMemFile::Grow(long size) {
    if (size <= m_Capacity) return true;
    if (!m_bFreeOnClose) return false;  // the caller's buffer has a fixed size
    long capacity = m_Capacity < 4096 ? 4096 : m_Capacity;
    while (capacity < size) capacity = capacity > LONG_MAX / 2 ? LONG_MAX : capacity * 2;
    auto* grown = static_cast<BYTE*>(std::realloc(m_pBuffer, static_cast<size_t>(capacity)));
    if (!grown) return false;
    m_pBuffer = grown;
    m_Capacity = capacity;
    return true;
}

size_t CxMemFile::Write(const void* buffer, size_t size, size_t count) {
    if (!buffer || size == 0 || count == 0) return 0;
    if (count > static_cast<size_t>(LONG_MAX - m_Position) / size) return 0;
    long end = m_Position + static_cast<long>(size * count);
    if (!Grow(end)) {
        // A fixed buffer takes what fits.
        if (m_Position >= m_Capacity) return 0;
        count = static_cast<size_t>(m_Capacity - m_Position) / size;
        end = m_Position + static_cast<long>(size * count);
    }
    if (m_Position > m_Size) std::memset(m_pBuffer + m_Size, 0, static_cast<size_t>(m_Position - m_Size));
    std::memcpy(m_pBuffer + m_Position, buffer, size * count);
    m_Position = end;
    if (end > m_Size) m_Size = end;
    return count;
}

bool CxMemFile::Seek(long offset, int origin) {
    long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? m_Position : m_Size;
    long to = base + offset;
    if (to < 0) return false;
    m_Position = to;
    return true;
}
