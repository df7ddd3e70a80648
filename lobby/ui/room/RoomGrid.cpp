#include "lobby/ui/room/RoomGrid.h"

#include <algorithm>

#include "lobby/net/base/NumberText.h"

namespace room {

RoomGrid::RoomGrid(int deskStripWidth, int deskHeight, int seatStripWidth, int seatHeight, int clientWidth)
    : deskW(deskStripWidth / 4), deskH(deskHeight), seatW(seatStripWidth / 4), seatH(seatHeight) {
    columns = std::max(1, (clientWidth - 35) / (deskW + 105));
    margin = (clientWidth - (deskW + 105) * columns) / 2;
    rows = (kDeskCount + columns - 1) / columns;
}

GridPoint RoomGrid::Desk(int index) const {
    return {margin + 55 + (index % columns) * (deskW + 105), 90 + (index / columns) * (deskH + 90)};
}

GridPoint RoomGrid::Seat(int index, int seat) const {
    GridPoint d = Desk(index);
    switch (seat) {
    case 0: return {d.x - seatW - 10, d.y + (deskH - seatH) / 2};
    case 1: return {d.x + (deskW - seatW) / 2, d.y - seatH - 10};
    default: return {d.x + deskW + 10, d.y + (deskH - seatH) / 2};
    }
}

namespace {

// A text that begins with a digit, read as atoi does; -1 for any other.
int Number(const std::string& text) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return -1;
    return StringToInt(text);
}

}  // namespace

int SeatOf(const std::string& seatText) {
    int seat = Number(seatText);
    return seat >= 0 && seat < kSeatsPerDesk ? seat : -1;
}

int DeskOf(const std::string& deskIdText) {
    int desk = Number(deskIdText);
    return desk >= 1 && desk <= kDeskCount ? desk : -1;
}

ButtonTarget DecodeButton(int id) {
    ButtonTarget t;
    if (id == 10201) {
        t.kind = ButtonKind::QuickJoin;
    } else if (id >= kDeskButtonId && id < kSeatButtonId) {
        t.kind = ButtonKind::Desk;
        t.desk = id - kDeskButtonId + 1;
    } else if (id >= kSeatButtonId) {
        t.kind = ButtonKind::Seat;
        t.desk = (id - kSeatButtonId) / kSeatsPerDesk + 1;
        t.seat = (id - kSeatButtonId) % kSeatsPerDesk;
    }
    return t;
}

SeatChoice LowestFreeSeat(const std::vector<DeskSeats>& desks, int desk) {
    if (desk < 1 || desk > static_cast<int>(desks.size())) return {};
    for (int k = 0; k < kSeatsPerDesk; ++k)
        if (desks[desk - 1].free[k]) return {desk, k};
    return {};
}

SeatChoice ChooseQuickSeat(const std::vector<DeskSeats>& desks) {
    const int n = static_cast<int>(desks.size());
    for (int i = 0; i < n; ++i) {
        const DeskSeats& d = desks[i];
        if (d.enabled && std::count(d.free, d.free + kSeatsPerDesk, false) == 2) return LowestFreeSeat(desks, i + 1);
    }
    for (int i = 0; i < n; ++i) {
        if (!desks[i].enabled) continue;
        SeatChoice c = LowestFreeSeat(desks, i + 1);
        if (c.desk > 0) return c;
    }
    return {};
}

std::string SeatLaunchParameters(const LaunchRoom& room, const std::string& user, const std::string& roomIdText,
                                 const std::string& token, int desk, int seat) {
    // A seat always takes the full line, with the room's flag in it.
    const std::string last3 = "0 " + std::to_string(desk) + " " + std::to_string(seat);
    return MakeFullLaunchLine(room, user, roomIdText, token.empty() ? "0" : token, last3.c_str());
}

}  // namespace room
