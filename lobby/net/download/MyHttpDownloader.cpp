#include "lobby/net/download/MyHttpDownloader.h"

#include <cstring>
#include <new>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/download/InfoZip.h"
#include "platform/zipdll/ZipFiles.h"
#include "platform/zipdll/ZipPath.h"
#include "xml/XMLTextReader.h"

namespace {

// The extension as the C runtime's path splitting gives it: from the last dot
// of the last step, lower-cased (ASCII).
std::wstring Extension(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return std::wstring();
    std::wstring ext = path.substr(dot);
    for (wchar_t& c : ext)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return ext;
}

}  // namespace

CMyHttpDownloader::CMyHttpDownloader() : answer_(kMaxAnswer) {}

CMyHttpDownloader::~CMyHttpDownloader() {
    // Every thread that calls back into this object ends before its members go;
    // the connect step may start the socket thread, which may start the worker.
    Stop();
    CMyConnectThread::WaitStopped();
    CClientSocket::Stop();
    CClientSocket::WaitStopped();
    StopWorker();
}

int CMyHttpDownloader::SetNotifyWindow(HWND window, int unpack) {
    window_ = window;
    unpack_ = unpack;
    return 1;
}

int CMyHttpDownloader::SetApplication(const char* host, int port, const char* name, const char* folder) {
    serverHost_ = host ? host : "";
    serverPort_ = port;
    folder_ = folder ? folder : "";
    name_ = name ? name : "";
    version_ = "0.0.0.0";
    CMyConnectThread::Start(100);
    return 1;
}

void CMyHttpDownloader::Stop() {
    CClientSocket::Stop();
    CMyConnectThread::Stop();
    Cancel();
}

void CMyHttpDownloader::Post(int event, int value) {
    if (window_) PostMessageA(window_, kMsgDownload, static_cast<WPARAM>(event), static_cast<LPARAM>(value));
}

void CMyHttpDownloader::ConnectStep() {
    Post(kDownloadConnecting, 0);
    if (CClientSocket::Create() && CClientSocket::Connect(serverHost_.c_str(), serverPort_)) {
        Post(kDownloadConnected, 1);
        CClientSocket::Start(10);
        RequestAppInfo(name_, version_);
    } else {
        Post(kDownloadConnected, 0);
    }
    CMyConnectThread::Stop();
}

int CMyHttpDownloader::RequestAppInfo(const std::string& name, const std::string& version) {
    return SendFrame("<GetApplicationMessage name=\"" + name + "\" version=\"" + version + "\"/>");
}

int CMyHttpDownloader::SendFrame(const std::string& text) {
    try {
        const std::vector<char> frame = EncodeFrame(kFrameText, text.data(), static_cast<uint32_t>(text.size()));
        return CClientSocket::Send(frame.data(), static_cast<int>(frame.size()));
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

void CMyHttpDownloader::OnReceive(const char* data, int length) {
    while (length > 0) {
        uint32_t n = answer_.Wanted();
        if (n > static_cast<uint32_t>(length)) n = static_cast<uint32_t>(length);
        std::memcpy(answer_.Space(), data, n);
        data += n;
        length -= static_cast<int>(n);
        const FrameReader::Status s = answer_.Commit(n);
        if (s == FrameReader::kFrame) {
            char* body = answer_.TakeBody();
            const bool answered = OnAnswer(body, static_cast<int>(answer_.Length()));
            delete[] body;
            if (answered) return;  // the connection is done with: nothing more is read
        } else if (s != FrameReader::kNeedMore) {
            // Not an answer (or one too long to take): the rest of this block goes too.
            answer_.Reset();
            return;
        }
    }
}

bool CMyHttpDownloader::OnAnswer(const char* payload, int length) {
    std::string values[5];
    try {
        XMLTextReader reader;
        reader.SetXmlData(payload, length);
        if (!reader.Read() || reader.Name() != "AppInfo") return false;
        for (std::string& value : values) {
            if (!reader.MoveToNextAttribute()) return false;
            value = reader.Value();
        }
    } catch (int* code) {
        delete code;
        return false;
    } catch (...) {
        return false;
    }
    CClientSocket::Stop();
    targetFile_ = values[2];
    url_ = values[4];
    StartDownload();
    return true;
}

void CMyHttpDownloader::StartDownload() {
    if (url_.empty()) return;
    HttpDownloader::Start(url_.c_str());
}

void CMyHttpDownloader::OnContentLength(int length) {
    total_ = length;
    Post(kDownloadLength, length);
}

void CMyHttpDownloader::OnProgress(int received) { Post(kDownloadProgress, received); }

void CMyHttpDownloader::OnError(int code) { Post(kDownloadFailed, code); }

void CMyHttpDownloader::SaveFile(void* body) {
    // The server names the file; it is written below the destination folder only.
    std::wstring name, relative, folder;
    if (!zip::ToWide(targetFile_, CP_ACP, name) || !zip::SafeRelativePath(name, relative) ||
        !zip::ToWide(folder_, CP_ACP, folder))
        return Post(kDownloadFailed, kFailed);
    std::wstring path = relative;
    if (!folder.empty()) path = folder + (folder.back() == L'\\' || folder.back() == L'/' ? L"" : L"\\") + relative;
    const size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 0) zip::CreateFolderTree(path.substr(0, slash));
    if (!zip::WriteWholeFile(path, body, static_cast<size_t>(ContentLength()))) return Post(kDownloadFailed, kFailed);

    if (Extension(relative) == L".zip" && unpack_ == 1) {
        const std::string unpackTo = folder_.empty() ? std::string(".") : folder_;
        if (!UnzipPackage(zip::FromWide(path).c_str(), unpackTo.c_str())) return Post(kDownloadFailed, kFailed);
    }
    Post(kDownloadDone, total_);
}

bool UnzipPackage(const char* zipPath, const char* folder) {
    std::wstring wide;
    if (zip::ToWide(folder, CP_ACP, wide) && !zip::IsFolder(wide)) CreateDirectoryTree(folder);
    CInfoZip zip;
    zip.LoadUnzipDll();
    zip.LoadDlls();
    const bool unpacked = zip.Unzip(zipPath, folder) == 1;
    zip.FreeDlls();
    zip.FreeUnzipDll();
    if (unpacked) DeleteFileA(zipPath);
    return unpacked;
}
