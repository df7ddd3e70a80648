#include "lobby/net/base/File.h"

#include "lobby/net/base/Exception.h"
#include "lobby/net/base/TextHelpers.h"

namespace {

[[noreturn]] void ThrowLastError() { throw FileException(GetSystemErrorText(GetLastError())); }

DWORD CreationMode(int flags) {
    const bool open = flags & File::kOpenExisting, create = flags & File::kCreateNew, cut = flags & File::kTruncate;
    if (open && create) return cut ? CREATE_ALWAYS : OPEN_ALWAYS;
    if (open) return cut ? TRUNCATE_EXISTING : OPEN_EXISTING;
    if (create) return cut ? CREATE_ALWAYS : CREATE_NEW;
    return 0;
}

}  // namespace

File::File(const std::string& path, DWORD access, int flags) : handle_(INVALID_HANDLE_VALUE) {
    const DWORD mode = CreationMode(flags);
    if (mode == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        ThrowLastError();
    }
    handle_ = CreateFileW(Utf8ToWide(path).c_str(), access, FILE_SHARE_READ, nullptr, mode, FILE_FLAG_SEQUENTIAL_SCAN,
                          nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) ThrowLastError();
}

File::~File() { Close(); }

void File::Read(void* buffer, unsigned& size) {
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, size, &got, nullptr)) ThrowLastError();
    size = got;
}

void File::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}

DWORD File::GetSize() { return GetFileSize(handle_, nullptr); }

bool File::SetSize(long long size) {
    const long long at = GetPosition();
    if (at < 0 || SeekFromStart(size) < 0) return false;
    Truncate();
    return SeekFromStart(at) >= 0;
}

long long File::GetPosition() { return Seek(0, FILE_CURRENT); }
long long File::SeekFromStart(long long distance) { return Seek(distance, FILE_BEGIN); }
long long File::SeekFromEnd(long long distance) { return Seek(distance, FILE_END); }
long long File::SeekFromCurrent(long long distance) { return Seek(distance, FILE_CURRENT); }

long long File::Seek(long long distance, DWORD method) {
    LARGE_INTEGER move, now;
    move.QuadPart = distance;
    if (!SetFilePointerEx(handle_, move, &now, method)) return -1;
    return now.QuadPart;
}

void File::Truncate() {
    if (!SetEndOfFile(handle_)) ThrowLastError();
}

unsigned File::Write(const void* bytes, unsigned length) {
    DWORD written = 0;
    if (!WriteFile(handle_, bytes, length, &written, nullptr)) ThrowLastError();
    return written;
}

void File::Flush() {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    if (!FlushFileBuffers(handle_)) ThrowLastError();
}
