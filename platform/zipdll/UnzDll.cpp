// UNZDLL.DLL: unpacks the entries of a zip archive that match the block's file
// patterns into the current folder. Names that would leave that folder
// are refused; a file that fails half-way is removed again.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/zipdll/ZipArchive.h"
#include "platform/zipdll/ZipDllApi.h"
#include "platform/zipdll/ZipFiles.h"
#include "platform/zipdll/ZipPath.h"

namespace {

int StatusError(zip::Status s) {
    switch (s) {
        case zip::Status::kOk:
            return kZipOk;
        case zip::Status::kFormat:
            return kZipErrorFormat;
        case zip::Status::kUnsupported:
            return kZipErrorUnsupported;
        case zip::Status::kData:
            return kZipErrorData;
        case zip::Status::kStopped:
            return kZipErrorWrite;
    }
    return kZipErrorData;
}

const char* ErrorText(int error) {
    switch (error) {
        case kZipErrorFormat:
            return "压缩文件已损坏";
        case kZipErrorUnsupported:
            return "不支持的压缩格式";
        case kZipErrorWrite:
            return "写入文件失败";
        default:
            return "数据校验错误";
    }
}

bool Selected(const std::wstring& name, const ZipDllParams& p) {
    if (p.patternCount == 0) return true;
    const char* const* patterns = p.patterns;
    for (int i = 0; i < p.patternCount; ++i) {
        std::wstring pattern;
        if (patterns[i] && zip::ToWide(patterns[i], CP_ACP, pattern) && zip::MatchesPattern(name, pattern)) return true;
    }
    return false;
}

// Writes one file entry at path: kZipOk, or the error (the partial file removed).
int WriteEntry(const zip::Reader& reader, const zip::Entry& entry, const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return kZipErrorCreate;
    const zip::Status s = reader.Extract(entry, [f](const unsigned char* bytes, size_t n) {
        DWORD written = 0;
        return WriteFile(f, bytes, static_cast<DWORD>(n), &written, nullptr) && written == n;
    });
    CloseHandle(f);
    if (s != zip::Status::kOk) DeleteFileW(path.c_str());
    return StatusError(s);
}

int Unzip(const ZipDllParams& p, zip::Reporter& reporter) {
    zip::FileView file(p.archive);
    if (!file.Ok()) {
        reporter.Error(0, kZipErrorOpen, "无法打开压缩文件", p.archive);
        return reporter.Errors();
    }
    zip::Reader reader;
    const zip::Status opened = reader.Open(file.Data(), file.Size());
    if (opened != zip::Status::kOk) {
        reporter.Error(0, StatusError(opened), ErrorText(StatusError(opened)), p.archive);
        return reporter.Errors();
    }
    int number = 0;
    for (const zip::Entry& entry : reader.Entries()) {
        ++number;
        std::wstring name, path;
        const bool decoded = zip::ToWide(entry.name, entry.utf8 ? CP_UTF8 : CP_OEMCP, name);
        if (decoded && !Selected(name, p)) continue;
        if (!decoded || !zip::SafeRelativePath(name, path)) {
            reporter.Error(number, kZipErrorUnsafeName, "文件名不安全，已跳过", entry.name);
            continue;
        }
        const std::string shown = zip::FromWide(path);
        const size_t slash = path.rfind(L'\\');
        const std::wstring folder = entry.folder ? path : slash == std::wstring::npos ? L"" : path.substr(0, slash);
        if (!folder.empty() && !zip::CreateFolderTree(folder)) {
            reporter.Error(number, kZipErrorCreate, "无法创建文件夹", shown);
            continue;
        }
        if (entry.folder) continue;
        const int error = WriteEntry(reader, entry, path);
        if (error != kZipOk)
            reporter.Error(number, error, error == kZipErrorCreate ? "无法创建文件" : ErrorText(error), shown);
    }
    return reporter.Errors();
}

}  // namespace

extern "C" {

int ZIPDLL_CALL GetUnzDllVersion(void) { return kZipDllVersion; }

int ZIPDLL_CALL UnzDllExec(ZipDllParams* params) { return zip::GuardedExec(params, Unzip); }

}  // extern "C"
