// The chat panel's small pieces: the emote picker's grid, placement and
// click, the colour dialog opened at its place, Enter in the chat input.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <string>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/DlgFaceSel.h"
#include "lobby/ui/ExColorDlg.h"
#include "lobby/ui/ExComboBox.h"
#include "lobby/ui/SkinRes.h"

namespace {

class Panel : public CWnd {
public:
    LRESULT OnFace(WPARAM, LPARAM l) {
        faces.push_back(reinterpret_cast<const char*>(l));
        return 0;
    }
    LRESULT OnEnter(WPARAM, LPARAM) {
        ++enters;
        return 0;
    }
    std::vector<std::string> faces;
    int enters = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Panel, CWnd)
    ON_MESSAGE(kMsgFaceChosen, OnFace)
    ON_MESSAGE(kMsgChatEnter, OnEnter)
END_MESSAGE_MAP()

// Finds this thread's colour dialog, notes its place and presses OK.
CRect g_colorPlace, g_colorClient;
BOOL CALLBACK PressOk(HWND h, LPARAM timerId) {
    char cls[32] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !::IsWindowVisible(h)) return TRUE;
    ::GetWindowRect(h, &g_colorPlace);
    ::GetClientRect(h, &g_colorClient);
    ::KillTimer(nullptr, static_cast<UINT_PTR>(timerId));
    ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(h, IDOK)));
    return FALSE;
}
void CALLBACK AnswerColorDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &PressOk, static_cast<LPARAM>(timer));
}

}  // namespace

TEST(ChatPieces, FacePickerGridAndClick) {
    CSkinRes* skin = LoadedSkin();
    Panel panel;
    ASSERT_TRUE(panel.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(40, 40, 440, 340), nullptr, 0));
    CDlgFaceSel picker;
    picker.SetEmoteTable(&skin->GetFaceTable());
    picker.SetAnchor(100, 200);
    ASSERT_TRUE(picker.Create(CDlgFaceSel::IDD, &panel));
    ASSERT_EQ(picker.GetCells().size(), 2u);  // "/ku1", "/wx1"
    EXPECT_EQ(picker.GetCells()[1].rect, CRect(30, 3, 54, 27));
    CRect r;
    picker.GetWindowRect(&r);
    panel.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(100, 173, 316, 200));  // one row: 27 high, 216 wide

    picker.ShowWindow(SW_SHOW);
    picker.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 15));
    PumpMessages(400);
    SavePng(CaptureWindow(picker.m_hWnd), "facesel");
    picker.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 15));
    ASSERT_TRUE(PumpUntil([&] { return !panel.faces.empty(); }));
    EXPECT_EQ(panel.faces, std::vector<std::string>{"/wx1"});
    EXPECT_FALSE(picker.IsWindowVisible());
    picker.DestroyWindow();
    panel.DestroyWindow();
}

TEST(ChatPieces, ColorDialogAtItsPlace) {
    // Unplaced first: the dialog as the system lays it out.
    CExColorDlg plain(RGB(10, 20, 30));
    ::SetTimer(nullptr, 0, 100, &AnswerColorDialog);
    EXPECT_EQ(plain.DoModal(), IDOK);
    const int clientHeight = g_colorClient.Height();
    ASSERT_GT(clientHeight, 0);

    CExColorDlg dlg(RGB(10, 20, 30));
    dlg.SetPosition(60, 70);
    g_colorPlace = CRect();
    ::SetTimer(nullptr, 0, 100, &AnswerColorDialog);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(g_colorPlace.TopLeft(), CPoint(60, 70));
    EXPECT_EQ(g_colorPlace.Height(), clientHeight + 25) << "its client height and 25 pixels";
    EXPECT_EQ(dlg.GetColor(), RGB(10, 20, 30));
}

TEST(ChatPieces, EnterInTheChatInputAsksToSend) {
    Panel panel;
    ASSERT_TRUE(panel.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(40, 40, 340, 240), nullptr, 0));
    CExComboBox input;
    ASSERT_TRUE(input.CreateEx(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 200, 100), &panel,
                               1018));
    HWND edit = ::GetWindow(input.m_hWnd, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    MSG msg;
    const DWORD deadline = ::GetTickCount() + 5000;
    while (panel.enters == 0 && ::GetTickCount() < deadline) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::Sleep(10);
    }
    EXPECT_EQ(panel.enters, 1);
    panel.DestroyWindow();
}
