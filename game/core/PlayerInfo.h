// What the card-game client knows about one player at the table. The table's
// state keeps one per seat, and its game and window read and write the fields
// directly; the lettered state fields are per-seat state that only the table
// uses.
#pragma once

#include <string>

#include "game/core/CardSet.h"

class CPlayerInfo {
public:
    explicit CPlayerInfo(const std::string& id);
    ~CPlayerInfo();
    CPlayerInfo(const CPlayerInfo&) = delete;
    CPlayerInfo& operator=(const CPlayerInfo&) = delete;

    const std::string& GetId() const { return id_; }
    void SetId(const std::string& id) { id_ = id; }
    std::string GetNickName() const { return nickName_; }
    void SetNickName(const std::string& name) { nickName_ = name; }
    const std::string& GetIPDetail() const { return ipDetail_; }
    void SetIPDetail(const std::string& text) { ipDetail_ = text; }
    const std::string& GetIPLocation() const { return ipLocation_; }
    void SetIPLocation(const std::string& text) { ipLocation_ = text; }

    // Starts the turn clock now for a turn of `time` ms (stored as time - 1000).
    void SetClock(int time);
    void ClearClock() { clockStart = clockTime = -1; }
    // Milliseconds left of the turn clock at tick `now`; -1 when it is not
    // running or has run out.
    int ClockLeft(int now) const;
    // The sex value as the lobby reads it (1 female) also picks the avatar:
    // 1 the female picture, any other value the male one.
    void SetSex(int value);

    int seat = -1;  // 0..2; next seat (seat + 1) % 3, previous (seat + 2) % 3
    double money = 0.0;
    int bid = -1;  // 0..3, -1 = no bid yet
    int ready = 0;
    int role = -1;   // 1 = landlord of the current game
    int stateA = 0;  // cleared when the desk names the player
    int stateB = -1;
    int stateC = -1;
    int stateD = -1;
    int flagE = 0;
    int flagF = 0;
    int stateG = 0;
    int doubling = 0;  // the result dialog marks 2 and 4
    int flagH = 0;
    int clockStart = -1;  // tick count (ms) when the turn clock started
    int clockTime = -1;   // length of the turn clock in ms
    int avatar = -1;      // picture drawn for the seat: 0 male, 1 female (SetSex)
    // The own score of the last result: the lobby's second amount.
    double amountA = 0.0;
    int cardCount = 0;
    int stateJ = 0;
    double resultA = 0.0;  // the two amounts of the result dialog
    double resultB = 0.0;
    int stateK = 0;
    int sex = 0;
    int stateL = 0;
    int stateM = 0;
    int animationStep = 0;
    CCardSet* lastPlay = nullptr;  // owned; null until the player has played
    CCardSet* hand;                // owned: the cards as shown

private:
    std::string id_;
    std::string ipDetail_;
    std::string ipLocation_;
    std::string nickName_;
};
