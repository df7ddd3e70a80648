// Pop-up notices: they slide in at the bottom right, a second one opens
// right above the first, a short time closes one and tells the owner, time 0
// stays, Escape is swallowed, a link piece's click opens its address.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/ImgHlWnd.h"
#include "lobby/ui/PopMsgList.h"
#include "lobby/ui/SkinRes.h"

namespace {

class Owner : public CWnd {
public:
    LRESULT OnPop(WPARAM w, LPARAM l) {
        log.emplace_back(static_cast<int>(w), static_cast<int>(l));
        return 0;
    }
    std::vector<std::pair<int, int>> log;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Owner, CWnd)
    ON_MESSAGE(kMsgPopupNotice, OnPop)
END_MESSAGE_MAP()

bool Logged(const Owner& o, int id) {
    for (auto& e : o.log)
        if (e == std::make_pair(0, id)) return true;
    return false;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

TEST(PopMsg, SlideStackCloseAndLinks) {
    LoadedSkin();
    Owner owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CPopMsgList list;

    const int a = list.Show("Hello$news,no-such-page$bye", "通知", 0, &owner, 0);
    ASSERT_EQ(a, 1);
    CDlgPopMsg* first = list.Find(a);
    CRect r;
    ASSERT_TRUE(PumpUntil([&] {
        first->GetWindowRect(&r);
        return r.Height() == 150;
    }));
    EXPECT_EQ(r.right, work.right - 5);
    EXPECT_EQ(r.bottom, work.bottom - 5);
    ASSERT_EQ(first->GetPieces().size(), 3u);
    CRect piece;
    first->GetPieces()[0]->GetWindowRect(&piece);
    EXPECT_EQ(piece.top - r.top, 35);
    auto* link = dynamic_cast<CImgHlWnd*>(first->GetPieces()[1]);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(std::string(link->GetAddress()), "no-such-page");
    PumpMessages(200);
    SavePng(CaptureWindow(first->m_hWnd), "popmsg");

    // A second notice right above the first; its short time closes it.
    const int b = list.Show("second", "", 300, &owner, 0);
    ASSERT_EQ(b, 2);
    EXPECT_EQ(list.Find(b)->GetTargetRect().right, first->GetTargetRect().right);
    EXPECT_EQ(list.Find(b)->GetTargetRect().bottom, first->GetTargetRect().top);
    ASSERT_TRUE(PumpUntil([&] { return Logged(owner, b); }));
    EXPECT_EQ(list.Remove(b), 1);
    EXPECT_EQ(list.Remove(b), 0);
    EXPECT_TRUE(first->IsWindowVisible());  // time 0 stays
    EXPECT_FALSE(Logged(owner, a));

    MSG esc{first->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(first->PreTranslateMessage(&esc));

    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string trace = std::string(temp) + "popmsg_trace.txt";
    ::DeleteFileA(trace.c_str());
    ::SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", trace.c_str());
    link->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(PumpUntil([&] { return ReadFile(trace).find("open no-such-page") != std::string::npos; }));
    ::SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);

    // The close button ends the one that stays.
    first->SendMessage(WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
    ASSERT_TRUE(PumpUntil([&] { return Logged(owner, a); }));
    EXPECT_EQ(list.Remove(a), 1);
    owner.DestroyWindow();
}

// Style 1: the second background's shape (its magenta cut away), the close
// button at (215, 80) and the text from y 130.
TEST(PopMsg, StyleOneTakesTheSecondBackgroundsShape) {
    LoadedSkin();
    Owner owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CPopMsgList list;
    const int id = list.Show("系统维护通知", "", 0, &owner, 1);
    CDlgPopMsg* pop = list.Find(id);
    ASSERT_NE(pop, nullptr);
    Gdiplus::Image* bk2 = GetLobbySkin()->GetPopMsgBk2Image();
    ASSERT_NE(bk2, nullptr);
    CRect r;
    ASSERT_TRUE(PumpUntil([&] {
        pop->GetWindowRect(&r);
        return r.Height() == static_cast<int>(bk2->GetHeight());
    }));
    EXPECT_EQ(r.Width(), static_cast<int>(bk2->GetWidth()));
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(pop->m_hWnd, shape), ERROR);
    EXPECT_TRUE(::EqualRgn(shape, GetLobbySkin()->GetPopMsgRegion())) << "the region of bk2's pixels that are not magenta";
    ::DeleteObject(shape);
    CRect close;
    ::GetWindowRect(::GetDlgItem(pop->m_hWnd, 1028), &close);
    EXPECT_EQ(close.TopLeft() - r.TopLeft(), CSize(215, 80));
    ASSERT_FALSE(pop->GetPieces().empty());
    CRect piece;
    pop->GetPieces()[0]->GetWindowRect(&piece);
    EXPECT_EQ(piece.top - r.top, 130);
    pop->SendMessage(WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), 0);
    ASSERT_TRUE(PumpUntil([&] { return Logged(owner, id); }));
    EXPECT_EQ(list.Remove(id), 1);
    owner.DestroyWindow();
}
