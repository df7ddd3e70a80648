#include "lobby/ui/web/DlgDownload.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/EnBitmap.h"
#include "lobby/ui/web/WebHost.h"

namespace {
const UINT_PTR kStartTimer = 1, kPaintTimer = 2, kAnswerTimer = 3;
const char kServerFailed[] = "连接更新服务器失败!";
const COLORREF kKey = RGB(255, 0, 255);

CString ProgramFolder() {
    char path[512] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\')) slash[1] = '\0';
    return path;
}

CString SkinValue(const CString& ini, LPCSTR key) {
    char value[512] = "";
    ::GetPrivateProfileStringA("update", key, "", value, sizeof value, ini);
    return value;
}

Gdiplus::Image* LoadSkinImage(const CString& path) {
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], static_cast<int>(wide.size()));
    auto* image = new Gdiplus::Image(wide.c_str());
    if (image->GetLastStatus() == Gdiplus::Ok) return image;
    delete image;
    return nullptr;
}

void Text(HDC dc, LPCSTR text, int left, int top, int right, int bottom, UINT format) {
    RECT r = {left, top, right, bottom};
    ::DrawTextA(dc, text, -1, &r, format | DT_SINGLELINE);
}
}  // namespace

BEGIN_MESSAGE_MAP(CDlgDownload, CDialog)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(kMsgDownload, OnDownloadEvent)
END_MESSAGE_MAP()

CDlgDownload::~CDlgDownload() {
    downloader_.Stop();
    delete background_;
    delete progress_;
    for (Gdiplus::Image* image : cancelImages_) delete image;
}

void CDlgDownload::SetTarget(LPCSTR host, int port, LPCSTR module, int mode, LPCSTR folder) {
    host_ = host ? host : "";
    port_ = port;
    module_ = module ? module : "";
    mode_ = mode;
    folder_ = folder ? folder : "";
}

void CDlgDownload::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDCANCEL, cancel_); }

BOOL CDlgDownload::OnInitDialog() {
    CDialog::OnInitDialog();
    if (folder_.IsEmpty()) folder_ = ProgramFolder();
    const CString programFolder = ProgramFolder();
    const CString ini = programFolder + "Skin\\Style1\\Skin.ini";
    background_ = new CMyBitmap();
    const CString bk = SkinValue(ini, "dlg_bk");
    if (!bk.IsEmpty()) background_->LoadFile(programFolder + bk);
    const CString pro = SkinValue(ini, "dlg_pro");
    if (!pro.IsEmpty()) progress_ = LoadSkinImage(programFolder + pro);
    LPCSTR keys[3] = {"btn_c_down", "btn_c_on", "btn_c_up"};
    for (int i = 0; i < 3; ++i) {
        const CString value = SkinValue(ini, keys[i]);
        if (!value.IsEmpty()) cancelImages_[i] = LoadSkinImage(programFolder + value);
    }
    downloader_.SetNotifyWindow(GetSafeHwnd(), mode_);
    if (cancelImages_[2]) cancel_.SetImages(cancelImages_[2], cancelImages_[1], cancelImages_[0], cancelImages_[0]);
    if (background_->IsLoaded()) {
        const CSize size = background_->Size();
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        SetWindowRgn(background_->CreateRegion(kKey), TRUE);
    }
    if (CWnd* ok = GetDlgItem(IDOK)) ok->ShowWindow(SW_HIDE);
    CRect button;
    cancel_.GetWindowRect(&button);
    cancel_.MoveWindow(207, 147, button.Width(), button.Height());
    CenterWindow();
    SetTimer(kStartTimer, 500);
    return TRUE;
}

void CDlgDownload::OnTimer(UINT_PTR id) {
    if (id == kStartTimer) {
        KillTimer(kStartTimer);
        downloader_.SetApplication(host_, port_, module_, folder_);
        rate_.Start(::GetTickCount());
    } else if (id == kPaintTimer) {
        Invalidate(FALSE);
    } else if (id == kAnswerTimer) {
        downloader_.Stop();  // the server never named the package
        Finish(kServerFailed, "错误", IDCANCEL);
    }
}

void CDlgDownload::SetStatus(LPCSTR text) { status_ = text; }

void CDlgDownload::Finish(LPCSTR text, LPCSTR caption, int result) {
    if (ended_) return;
    ended_ = true;
    KillTimer(kPaintTimer);
    KillTimer(kAnswerTimer);
    SetStatus(text);
    RedrawWindow();
    SendLobbyBox(text, caption, 0);
    EndDialog(result);
}

LRESULT CDlgDownload::OnDownloadEvent(WPARAM event, LPARAM value) {
    if (ended_) return 0;
    char text[128];
    const int number = static_cast<int>(value);
    switch (event) {
        case kDownloadLength:
            KillTimer(kAnswerTimer);
            total_ = number;
            SetTimer(kPaintTimer, 500);
            rate_.Start(::GetTickCount());
            std::snprintf(text, sizeof text, "已得到文件大小:%d", total_);
            SetStatus(text);
            break;
        case kDownloadProgress:
            received_ = number;
            percent_ = DownloadPercent(total_, received_);
            SetStatus("下载文件中...");
            break;
        case kDownloadDone:
            std::snprintf(text, sizeof text, "下载完成,总大小:%d", number);
            Finish(text, "提示", IDOK);
            break;
        case kDownloadFailed:
            std::snprintf(text, sizeof text, "下载失败，错误代码:%d", number);
            Finish(text, "错误", IDCANCEL);
            break;
        case kDownloadConnecting:
            SetStatus("正在连接....");
            Invalidate(FALSE);
            break;
        case kDownloadConnected:
            if (number == 1) {
                SetStatus("连接成功,等待回应...");
                SetTimer(kAnswerTimer, answerMs_);
            } else {
                Finish(kServerFailed, "错误", IDCANCEL);
            }
            break;
        default:
            break;
    }
    return 0;
}

void CDlgDownload::OnCancel() {
    if (ended_) return;
    ended_ = true;
    KillTimer(kPaintTimer);
    KillTimer(kAnswerTimer);
    downloader_.Stop();
    ::Sleep(1000);
    EndDialog(IDCANCEL);
}

void CDlgDownload::OnLButtonDown(UINT, CPoint) { SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0); }

BOOL CDlgDownload::OnEraseBkgnd(CDC*) { return background_ ? TRUE : static_cast<BOOL>(Default()); }

void CDlgDownload::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    if (background_ && background_->IsLoaded()) background_->Draw(&dc, 0, 0, nullptr, kKey, TRUE);
    if (progress_ && percent_ > 0) {
        const int full = static_cast<int>(progress_->GetWidth());
        int shown = full * percent_ / 100;
        if (shown > full) shown = full;
        Gdiplus::Graphics g(dc);
        g.DrawImage(progress_, Gdiplus::Rect(5, 4, shown, static_cast<INT>(progress_->GetHeight())), 0, 0, shown,
                    static_cast<INT>(progress_->GetHeight()), Gdiplus::UnitPixel);
    }
    rate_.Sample(::GetTickCount(), total_, received_);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    char text[600];
    std::snprintf(text, sizeof text, "%d%%", percent_);
    Text(dc, text, 167, 75, 267, 95, DT_LEFT);
    std::snprintf(text, sizeof text, "%s模块", module_.GetString());
    Text(dc, text, 73, 101, 309, 119, DT_LEFT);
    std::snprintf(text, sizeof text, "%.2f KB/S", rate_.KilobytesPerSecond());
    Text(dc, text, 73, 124, 136, 139, DT_LEFT);
    std::snprintf(text, sizeof text, "%u秒", rate_.secondsLeft);
    Text(dc, text, 200, 124, 309, 143, DT_LEFT);
    Text(dc, status_, 16, 145, 187, 165, DT_LEFT);
    ::SelectObject(dc, oldFont);
}
