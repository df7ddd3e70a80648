// The room page's arithmetic, apart from any window: where the 100 desks and
// their seats sit, which seat quick join takes, what a button id stands for,
// and the game client's command line for a seat.
#pragma once

#include <string>
#include <vector>

#include "lobby/ui/RoomLaunch.h"

namespace room {

constexpr int kDeskCount = 100;
constexpr int kSeatsPerDesk = 3;
constexpr int kDeskButtonId = 10000;  // + desk index (0-based)
constexpr int kSeatButtonId = 60000;  // + 3 x desk index + seat

struct GridPoint {
    int x = 0;
    int y = 0;
};

// Desk and seat picture sizes and the client width give the layout; all
// integer arithmetic. deskStripWidth and seatStripWidth are the widths of the
// four-face image strips.
struct RoomGrid {
    RoomGrid(int deskStripWidth, int deskHeight, int seatStripWidth, int seatHeight, int clientWidth);

    int deskW, deskH, seatW, seatH;
    int columns;  // at least 1
    int margin;
    int rows;     // enough for kDeskCount desks

    // Top left of desk index (0-based) in document coordinates (no scroll).
    GridPoint Desk(int index) const;
    // Top left of seat 0 (left), 1 (top) or 2 (right) of a desk's seat button.
    GridPoint Seat(int index, int seat) const;
    int ScrollHeight() const { return (deskH + 90) * rows + 90; }
};

// The seat number of a seat text, or -1 outside 0..2 or not a number.
int SeatOf(const std::string& seatText);
// The 1-based desk number of a desk id text, or -1 outside 1..kDeskCount.
int DeskOf(const std::string& deskIdText);

// What a button id of the view stands for.
enum class ButtonKind { QuickJoin, Desk, Seat, Other };
struct ButtonTarget {
    ButtonKind kind = ButtonKind::Other;
    int desk = -1;  // 1-based, for Desk and Seat
    int seat = -1;  // for Seat
};
ButtonTarget DecodeButton(int id);

// One desk as the view shows it: whether its button is enabled and which of
// its three seat buttons are visible (free).
struct DeskSeats {
    bool enabled = false;
    bool free[kSeatsPerDesk] = {false, false, false};
};
struct SeatChoice {
    int desk = -1;  // 1-based; -1 when nothing is free
    int seat = -1;
};
// Quick join: the first enabled desk with exactly one free seat (two taken)
// fills it; otherwise the lowest free seat of the first enabled desk with any.
SeatChoice ChooseQuickSeat(const std::vector<DeskSeats>& desks);
// The lowest free seat of one desk (1-based), or none.
SeatChoice LowestFreeSeat(const std::vector<DeskSeats>& desks, int desk);

// The game client's parameters for a granted seat: the room launch's eleven
// fields ending "0 <desk> <seat>". The client drops empty fields, so a room
// whose token has not arrived passes "0" in its place.
std::string SeatLaunchParameters(const LaunchRoom& room, const std::string& user, const std::string& roomIdText,
                                 const std::string& token, int desk, int seat);

}  // namespace room
