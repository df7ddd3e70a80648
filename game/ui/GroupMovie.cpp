// The group movie: the Flash control over the whole table at auto-grouping
// tables while the player waits for a group; notices scroll through it and
// its "return" command leaves the table. Where the control cannot be made the
// table goes on without it.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdio>
#include <vector>

#include "game/core/GameSession.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/Shockwaveflash.h"

namespace {

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

void CPavlenDlg::ShowGroupMovie() {
    CGameSession* session = GetGameSession();
    if (session->vipFlag || !session->autoPlacedFlag) return;
    DestroyResultDialog();
    int w = 0, h = 0;
    ClientSize(&w, &h);
    if (m_groupMovie) {
        m_groupMovie->MoveWindow(0, 0, w, h);
    } else {
        CShockwaveflash* movie = new CShockwaveflash;
        if (!movie->Create("FLASH", "flash", WS_CHILD | WS_VISIBLE, CRect(0, 0, w, h), this, kGroupMovieId)) {
            delete movie;
            return;
        }
        m_groupMovie = movie;
        char folder[MAX_PATH] = "";
        ::GetCurrentDirectoryA(MAX_PATH, folder);
        m_groupMovie->SetMovie((std::string(folder) + "\\fenlo\\flash\\group.swf").c_str());
    }
    if (m_noticeCount > 0) SendNoticeToMovie();
    m_groupMovie->Play();
    m_groupMovie->SetMenu(FALSE);
    m_groupMovie->ShowWindow(SW_SHOW);
    for (Button b : {kAutoPlay, kCancelAuto, kSoundOn, kSoundOff, kSort, kNextPair, kNextTriple}) HideButton(b);
    Invalidate();
}

void CPavlenDlg::CloseGroupMovie() {
    CShockwaveflash* movie = m_groupMovie;
    if (!movie) return;
    movie->Close();
    movie->SetWindowPos(nullptr, -1000, -1000, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    movie->ShowWindow(SW_HIDE);
    m_groupMovie = nullptr;
    movie->DestroyWindow();
    delete movie;
}

void CPavlenDlg::CallMovie(const std::string& request) {
    if (!m_groupMovie) return;
    CString answer;
    // A failing call is dropped.
    m_groupMovie->CallFunction(request.c_str(), &answer);
}

void CPavlenDlg::SendNoticeToMovie() {
    static const char kHead[] = "<invoke name=\"trundleText\" returntype=\"xml\"><arguments><string>";
    static const char kTail[] = "</string></arguments></invoke>";
    CallMovie(kHead + XmlEscaped(m_noticeText) + "," + std::to_string(m_noticeCount) + kTail);
}

void CPavlenDlg::ShowMovieCount(int value) {
    int w = 0, h = 0;
    ClientSize(&w, &h);
    char request[160];
    std::snprintf(request, sizeof request,
                  "<invoke name=\"setText\" returntype=\"xml\"><arguments><string>%d,%d,%d</string></arguments>"
                  "</invoke>",
                  value, (w - 200) / 2 - 96, h - 200);
    CallMovie(request);
}

void CPavlenDlg::OnMovieCommand(LPCSTR command, LPCSTR args) {
    const std::string c = command ? command : "";
    if (c == "return") {
        m_game.Sound("fenlo\\sound\\sel.wav");
        m_game.LeaveUnderMovie();
    } else if (c == "press" && args && std::string(args) == "press") {
        POINT cursor;
        ::GetCursorPos(&cursor);
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
    }
}
