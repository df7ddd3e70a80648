#include "lobby/ui/DlgCartoon.h"

#include <gdiplus.h>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/base/PrivateMessages.h"

namespace {
enum { kFrameTimer = 1, kRemindTimer = 2, kGiveUpTimer = 3 };
}  // namespace

BEGIN_MESSAGE_MAP(DlgCartoon, CDialog)
    ON_MESSAGE(kMsgWaitingPage, OnWaitCode)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

void DlgCartoon::SetFrames(int count, int periodMs, Gdiplus::Image* strip) {
    m_frames = count > 0 ? count : 1;
    m_period = periodMs > 0 ? periodMs : 500;
    m_strip = strip;
    m_frameWidth = strip ? static_cast<int>(strip->GetWidth()) / m_frames : 0;
}

BOOL DlgCartoon::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(kFrameTimer, m_period);
    SetTimer(kRemindTimer, m_remindMs);
    m_ready = true;
    return TRUE;
}

LRESULT DlgCartoon::OnWaitCode(WPARAM code, LPARAM) {
    switch (code) {
    case 0: KillTimer(kRemindTimer); break;
    case 1: SetTimer(kRemindTimer, m_remindMs); break;
    case 2:
        KillTimer(kRemindTimer);
        SetTimer(kGiveUpTimer, m_giveUpMs);
        break;
    case 3:
        KillTimer(kRemindTimer);
        SetTimer(kRemindTimer, m_remindMs);
        break;
    default: break;
    }
    return 0;
}

void DlgCartoon::OnTimer(UINT_PTR id) {
    if (id == kFrameTimer) {
        m_frame = m_frame + 1 >= m_frames ? 0 : m_frame + 1;
        Invalidate(FALSE);
    } else if (id == kRemindTimer) {
        if (m_notify) ::PostMessageA(m_notify, kMsgMainCommand, 2, 0);
    } else if (id == kGiveUpTimer) {
        KillTimer(kGiveUpTimer);
        if (m_notify) ::PostMessageA(m_notify, kMsgMainCommand, 8, 0);
    }
}

void DlgCartoon::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemDC memory(dc, client);
    memory.FillSolidRect(&client, m_bk);
    if (m_strip && m_frameWidth > 0) {
        const int height = static_cast<int>(m_strip->GetHeight());
        Gdiplus::Graphics graphics(memory.GetSafeHdc());
        graphics.DrawImage(m_strip, Gdiplus::Rect((client.Width() - m_frameWidth) / 2, (client.Height() - height) / 2,
                                                  m_frameWidth, height),
                           m_frame * m_frameWidth, 0, m_frameWidth, height, Gdiplus::UnitPixel);
    }
}

void DlgCartoon::OnSize(UINT, int, int) {
    if (m_ready) Invalidate(FALSE);
}
