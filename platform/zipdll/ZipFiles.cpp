#include "platform/zipdll/ZipFiles.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace zip {

bool IsFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderTree(const std::wstring& path) {
    if (path.empty()) return false;
    if (IsFolder(path)) return true;
    for (size_t end = 0; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != L'\\' && path[end] != L'/') continue;
        const std::wstring prefix = path.substr(0, end);
        if (prefix.empty() || prefix.back() == L':' || IsFolder(prefix)) continue;
        if (CreateDirectoryW(prefix.c_str(), nullptr)) SetFileAttributesW(prefix.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    return IsFolder(path);
}

bool ToWide(const std::string& text, UINT codePage, std::wstring& out) {
    out.clear();
    if (text.empty()) return true;
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return true;
}

std::string FromWide(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    const int n =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

FileView::FileView(const char* path) {
    file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_, &size) || size.QuadPart > 0x7FFFFFFF) return;
    size_ = static_cast<size_t>(size.QuadPart);
    if (size_ == 0) {
        ok_ = true;
        return;
    }
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping_) return;
    data_ = static_cast<const unsigned char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    ok_ = data_ != nullptr;
}

FileView::~FileView() {
    if (data_) UnmapViewOfFile(data_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = size == 0 || (WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr) && written == size);
    CloseHandle(f);
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

void Reporter::Error(int entry, int error, const char* what, const std::string& name) {
    ++errors_;
    if (!params_ || !(params_->reportMask & kZipReportErrors) || !params_->report) return;
    ZipDllReport r;
    std::memset(&r, 0, sizeof r);
    r.size = sizeof r;
    r.caller = params_->caller;
    r.entry = entry;
    r.error = error;
    std::snprintf(r.text, sizeof r.text, "%s%s%.400s", what, name.empty() ? "" : ": ", name.c_str());
    params_->report(&r);
}

int GuardedExec(ZipDllParams* params, int (*exec)(const ZipDllParams& params, Reporter& reporter)) {
    Reporter reporter(params);
    if (!params || params->version != kZipDllVersion || !params->archive || params->patternCount < 0) {
        reporter.Error(0, kZipErrorParams, "参数错误", std::string());
        return reporter.Errors();
    }
    try {
        return exec(*params, reporter);
    } catch (const std::bad_alloc&) {
        reporter.Error(0, kZipErrorOpen, "内存不足", params->archive);
    } catch (...) {
        reporter.Error(0, kZipErrorOpen, "内部错误", params->archive);
    }
    return reporter.Errors() > 0 ? reporter.Errors() : 1;
}

}  // namespace zip
