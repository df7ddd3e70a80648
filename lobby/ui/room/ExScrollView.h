// The desk view of a room page: a scrolling grid of 100 desks for three
// players, a picture button per desk and, where players pick their seat, one
// per free seat; seated players' pictures, ready marks and nicknames are
// painted around the desks. It keeps the room's desk list current from the
// room updates, turns clicks into enter-desk requests on the lobby's own
// connection and starts the game client when the server accepts.
//
// Locks: layout, paint and room updates take the lobby lock, then the view's,
// then the desk list's; enter-desk, refresh and the player lookup take the
// view's before the lobby lock. All are re-entrant and only this thread takes
// the view's and the list's, so the two orders cannot deadlock.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "lobby/net/base/Locks.h"
#include "platform/ScrollView.h"

class CRoomDeskList;
class CSkinRes;
class PngButton;
namespace room {
struct RoomGrid;
}
namespace Gdiplus {
class Image;
}

class CExScrollView : public CScrollView, public CCirSecLock {
public:
    CExScrollView();
    ~CExScrollView() override;

    int SetSkinRes(CSkinRes* skin);
    void SetGroupMode(int flag) {
        m_autoGroup = flag;
        m_layoutStale = true;
    }
    void SetValidationToken(const std::string& token) { m_token = token; }
    // A click on a button (desk, seat, or 10201 quick join).
    void OnEnterDesk(int id);
    // The server's answer to the enter-desk request.
    void OnEnterDeskAck(BOOL accepted);
    // The logged-in player's desk (1-based) and seat: 1, or 0 when not seated.
    int FindPlayerSeat(const std::string& playerId, int* desk, int* seat);
    // A seated player clicking anywhere is sent back to his own seat: 1 then.
    int ResumeSeat();

    int GetChosenDesk() const { return m_chosenDesk; }
    int GetChosenSeat() const { return m_chosenSeat; }
    int GetGroupMode() const { return m_autoGroup; }
    const std::string& GetRoomIdText() const { return m_roomId; }
    CRoomDeskList* GetDeskList() const { return m_deskList; }
    PngButton* DeskButton(int index) const;
    PngButton* SeatButton(int index) const;

    void OnInitialUpdate() override;

    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    LRESULT OnButtonPressed(WPARAM id, LPARAM);
    LRESULT OnRoomUpdate(WPARAM code, LPARAM message);

    // Paints the grid into dc, width x height pixels of it from document row
    // top on (the whole grid: the scroll height from 0), afresh; OnPaint lays
    // it from bands drawn so. False when nothing is to be drawn.
    bool DrawGrid(HDC dc, int width, int height, int top = 0);
    // What OnPaint does within BeginPaint and EndPaint: the update rectangle
    // (client coordinates) of the grid laid into dc from its kept bands.
    void PaintUpdate(HDC dc, const RECT& update);
    // Document rows per kept band of the painted grid.
    static const int kBandHeight = 512;

    DECLARE_MESSAGE_MAP()

private:
    void LayoutDesks();
    void RefreshDesks(const std::string& roomId);
    void PlayerChange(LPARAM message);
    // Builds RequestEnterDesk and sends it on the lobby's connection.
    void RequestSeat(int desk, int seat);
    void SendEnterRoom();
    void PostBox(LPCSTR text, LPCSTR caption, int countFlag, int seconds);
    void Repaint();
    void DeleteButtons();

    // The buttons are made a few desks at a time, between messages, so that
    // the window answers all along: the desks in view in OnCreate, the rest on
    // timer 2. A press waits for none of them: a desk not made yet is read
    // from its look, which its buttons take when they are made.
    bool Building() const { return m_built < m_deskCount && !m_buildFailed; }
    // Makes desks until budgetMs have gone by (at least one desk).
    void BuildDesks(double budgetMs);
    // Desk index i's button and, with seats, its three seat buttons, at their
    // places for the present scroll position and, once known, with the look
    // RefreshDesks gives them. False, and nothing of it made, when the desk
    // button or one of its seats cannot be made.
    bool BuildDesk(int i, const room::RoomGrid& grid, int scrollY);
    // What RefreshDesks gives each desk of the list: its state (kept by a
    // game's start and end too), whether it can be clicked, which of its
    // seats are free.
    struct DeskLook {
        bool listed = false;
        int playing = 0;
        bool enabled = true;
        bool free[3] = {true, true, true};
    };
    void ComputeLooks();
    // Desk index i's look: what its buttons show, or will show once made.
    DeskLook LookOf(int i) const { return i >= 0 && i < static_cast<int>(m_looks.size()) ? m_looks[i] : DeskLook(); }

    // What the grid shows around the desks, in document coordinates, in the
    // order it is drawn: the seated players' pictures and ready marks, then
    // their nicknames.
    struct GridPicture {
        Gdiplus::Image* image;
        RECT rect;
    };
    struct GridName {
        const std::string* text;
        RECT rect;
    };
    struct GridLayout {
        std::vector<GridPicture> pictures;
        std::vector<GridName> names;
    };
    // The grid laid out for a client width; false (and nothing laid) when
    // there is nothing to draw. Nicknames are measured once each.
    bool LayOut(int width, GridLayout& layout);
    // The kept layout, laid out again only after a room update, a new width
    // or skin: what tells the bands whether they changed.
    bool KeptLayout(int width);
    // Tells apart what bands from docTop, height rows, show.
    uint64_t BandSignature(int docTop, int height) const;
    // The update rectangle (client coordinates) laid from the kept bands;
    // a band is drawn again when what it shows changed.
    void PaintBands(HDC dc, const CRect& update, int width, int scrollY);
    static HFONT NameFont();  // the names under the seats, shared

    int m_deskCount = 100;
    CRoomDeskList* m_deskList = nullptr;
    int m_chosenDesk = -1;
    int m_chosenSeat = -1;
    int m_autoGroup = 1;
    int m_watchedGeneration = 0;  // the lobby engine the watch was started on
    CSkinRes* m_skin = nullptr;
    std::vector<PngButton*> m_deskButtons;
    std::vector<PngButton*> m_seatButtons;
    std::string m_roomId;
    std::string m_token;

    int m_built = 0;  // desks whose buttons exist
    bool m_buildFailed = false;
    bool m_slicing = false;         // timer 2 has made desks
    std::vector<DeskLook> m_looks;  // by desk index; empty until a refresh

    GridLayout m_layout;
    std::unordered_map<std::string, SIZE> m_nameSizes;
    bool m_layoutStale = true, m_layoutDrawable = false;
    int m_layoutWidth = -1;
    unsigned m_layoutSkin = 0, m_layoutVersion = 0;
    struct Band {
        CBitmap bitmap;
        uint64_t signature = 0;
        unsigned version = 0;  // of the layout the signature was taken from
        bool drawn = false;
    };
    std::map<int, Band> m_bands;  // by document row / kBandHeight
    int m_bandWidth = -1;
    unsigned m_bandSkin = 0;
};
