// A room page: a frame with a 22-pixel skinned strip holding the quick-join
// (10201) and leave-room (10202) buttons over the desk view (10200). The main
// lobby window creates it when a room's first desk list arrives and forwards
// the room's updates to it (kMsgRoomUpdate).
#pragma once

#include <string>

#include "platform/FrameWnd.h"

class CExScrollView;
class CMessage;
class CSkinRes;
class PngButton;

class CRoomWnd : public CFrameWnd {
public:
    CRoomWnd();
    ~CRoomWnd() override;

    // Null is refused (0); else the skin goes to the view too (1).
    int SetRoomRes(CSkinRes* skin);
    // Posts the id to the view (update code 0, which refreshes its desks) and
    // keeps its number.
    void SetRoomId(const std::string& roomId);
    int GetRoomId() const { return m_roomNumber; }
    void SetTitle(const std::string& title) { m_title = title; }
    // The automatic-grouping flag the view is created with.
    void SetGroupMode(int flag) { m_autoGroup = flag; }
    // The room-entry reply's token, passed on to the game client; may come
    // after the page opened.
    void SetValidationToken(const std::string& token);
    void OnEnterDeskAck(BOOL accepted);
    // Hands a DeskList message (CDeskInfoMsg) to the view, which takes it over
    // (freed here when there is no view).
    void NotifyView(CMessage* message);

    CExScrollView* GetView() const { return m_view; }
    PngButton* QuickJoinButton() const { return m_quick; }
    PngButton* LeaveButton() const { return m_leave; }

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnQuickJoin();
    void OnLeave();
    LRESULT OnRoomUpdate(WPARAM code, LPARAM message);

    DECLARE_MESSAGE_MAP()

private:
    int m_roomNumber = 0;
    int m_autoGroup = 1;
    std::string m_title;
    std::string m_token;
    CSkinRes* m_skin = nullptr;
    bool m_skinGiven = false;
    bool m_panelsShown = false;
    CExScrollView* m_view = nullptr;
    PngButton* m_quick = nullptr;
    PngButton* m_leave = nullptr;
};
