// ZIPDLL.DLL: packs the files of the current folder that match the block's file
// patterns into a new zip archive. Names are stored relative to the
// current folder, in UTF-8 when they are not plain ASCII.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/zipdll/ZipArchive.h"
#include "platform/zipdll/ZipDllApi.h"
#include "platform/zipdll/ZipFiles.h"

namespace {

struct Packing {
    zip::Writer writer;
    zip::Reporter& reporter;
    std::wstring archive;  // full path, never packed into itself
    int number = 0;
};

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : path;
}

// The name as stored: '/' separators, and whether it needs the UTF-8 flag.
std::string StoredName(const std::wstring& relative, bool& utf8) {
    std::wstring name = relative;
    utf8 = false;
    for (wchar_t& c : name) {
        if (c == L'\\') c = L'/';
        if (c > 0x7F) utf8 = true;
    }
    return zip::FromWide(name, CP_UTF8);
}

bool ReadWholeFile(const std::wstring& path, std::vector<unsigned char>& out, FILETIME& written) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < 0x7FFFFFFF && GetFileTime(f, nullptr, nullptr, &written);
    if (ok) {
        out.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = out.empty() ||
             (ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr) && got == out.size());
    }
    CloseHandle(f);
    return ok;
}

void AddFile(Packing& pack, const std::wstring& relative) {
    ++pack.number;
    bool utf8 = false;
    const std::string name = StoredName(relative, utf8);
    std::vector<unsigned char> bytes;
    FILETIME written;
    if (!ReadWholeFile(relative, bytes, written)) {
        pack.reporter.Error(pack.number, kZipErrorRead, "无法读取文件", zip::FromWide(relative));
        return;
    }
    WORD date = 0x21, time = 0;
    FILETIME local;
    if (FileTimeToLocalFileTime(&written, &local)) FileTimeToDosDateTime(&local, &date, &time);
    pack.writer.SetTime(date, time);
    if (!pack.writer.AddFile(name, bytes.data(), bytes.size(), utf8))
        pack.reporter.Error(pack.number, kZipErrorUnsupported, "文件过多或过大", zip::FromWide(relative));
}

// Adds what pattern (relative to the current folder, wildcards in its last step) finds.
void AddMatches(Packing& pack, const std::wstring& pattern) {
    const size_t slash = pattern.find_last_of(L"\\/");
    const std::wstring prefix = slash == std::wstring::npos ? std::wstring() : pattern.substr(0, slash + 1);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> folders;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring relative = prefix + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folders.push_back(relative);
        } else if (_wcsicmp(FullPath(relative).c_str(), pack.archive.c_str()) != 0) {
            AddFile(pack, relative);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& folder : folders) {
        bool utf8 = false;
        pack.writer.AddFolder(StoredName(folder, utf8), utf8);
        AddMatches(pack, folder + L"\\*");
    }
}

int Zip(const ZipDllParams& p, zip::Reporter& reporter) {
    std::wstring archive;
    zip::ToWide(p.archive, CP_ACP, archive);
    Packing pack{zip::Writer(), reporter, FullPath(archive)};
    const char* const* patterns = p.patterns;
    for (int i = 0; i < p.patternCount; ++i) {
        std::wstring pattern;
        if (patterns[i] && zip::ToWide(patterns[i], CP_ACP, pattern)) AddMatches(pack, pattern);
    }
    const std::vector<unsigned char> bytes = pack.writer.Finish();
    if (!zip::WriteWholeFile(archive, bytes.data(), bytes.size()))
        reporter.Error(0, kZipErrorOpen, "无法写入压缩文件", p.archive);
    return reporter.Errors();
}

}  // namespace

extern "C" {

int ZIPDLL_CALL GetZipDllVersion(void) { return kZipDllVersion; }

int ZIPDLL_CALL ZipDllExec(ZipDllParams* params) { return zip::GuardedExec(params, Zip); }

}  // extern "C"
