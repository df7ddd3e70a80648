// CReslutDlg: the shaped result window over the table at the end of a hand:
// one row per seat (role icon, nick name, win or loss, the two amounts, the
// doubling mark), the bomb count, a spring picture, and the continue and
// back-to-lobby buttons, which post the choice to the main window. It draws
// from the game image table and borrows the table's seat records.
#pragma once

#include <string>

#include "game/ui/XImgButton.h"
#include "game/ui/resource.h"
#include "platform/Framework.h"

class CPlayerInfo;

class CReslutDlg : public CDialog {
public:
    enum { IDD = IDD_RESULT_DIALOG };
    // Picture entries of the game image table.
    enum { kBackground = 298, kContinueFace = 320, kBackFace = 324, kSpring = 302, kAntiSpring = 303,
           kLandlordIcon = 190, kFarmerIcon = 191 };  // faces: up, hover, pressed, then the region
    static constexpr COLORREF kWinColor = 0x791AF9;
    static constexpr COLORREF kLossColor = 0xD03F09;

    explicit CReslutDlg(CWnd* parent = nullptr);

    // Three seat records (not owned), the hand's bomb count and its spring
    // kind (0 spring, 1 anti-spring, other none).
    void SetResult(CPlayerInfo* a, CPlayerInfo* b, CPlayerInfo* c, int bombs, int spring);
    // "%0.2f" of the amount nudged by 0.0000001 away from zero.
    static std::string FormatAmount(double amount);
    // The window the choice goes to: the application's main window, or the
    // parent in a program without one.
    HWND ChoiceTarget() const;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnWindowPosChanged(WINDOWPOS* pos);
    void OnContinue();
    void OnBack();
    void Paint(HDC dc);

    CXImgButton m_back;      // 1079
    CXImgButton m_continue;  // 1078
    int m_dragging = 0;
    CPlayerInfo* m_seats[3] = {};
    int m_bombs = 0;
    int m_spring = 0;

    DECLARE_MESSAGE_MAP()
};
