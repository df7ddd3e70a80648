// DlgCartoon: the waiting page that stands in the page area while a room is
// being entered. It animates a strip of frames and reminds the main window:
// every 10 s kMsgMainCommand code 2 (enter again), and once, 20 s after code 2 of
// kMsgWaitingPage, code 8 (the game did not start).
#pragma once

#include "platform/Framework.h"

namespace Gdiplus {
class Image;
}

class DlgCartoon : public CDialog {
public:
    enum { IDD = 147 };
    explicit DlgCartoon(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    // The strip (not owned) holds count frames side by side.
    void SetFrames(int count, int periodMs, Gdiplus::Image* strip);
    // Where the reminders go.
    void SetNotifyWindow(HWND window) { m_notify = window; }
    // The reminder's period and the give-up time (10 s and 20 s), before Create.
    void SetWaitTimes(int remindMs, int giveUpMs) {
        m_remindMs = remindMs;
        m_giveUpMs = giveUpMs;
    }
    int GetFrame() const { return m_frame; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT OnWaitCode(WPARAM code, LPARAM);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT, int, int);
    DECLARE_MESSAGE_MAP()

private:
    int m_frames = 1, m_frame = 0, m_period = 500, m_frameWidth = 0;
    Gdiplus::Image* m_strip = nullptr;
    COLORREF m_bk = 0xFFFFFF;
    bool m_ready = false;
    HWND m_notify = nullptr;
    int m_remindMs = 10000, m_giveUpMs = 20000;
};
