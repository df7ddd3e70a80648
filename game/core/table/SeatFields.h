// The table's own per-seat state, kept in the lettered fields of CPlayerInfo.
// Every use goes through these names.
#pragma once

#include "game/core/PlayerInfo.h"

namespace seat {
inline int& AutoPlay(CPlayerInfo& p) { return p.stateA; }        // 0/1
inline int& ContestAnswer(CPlayerInfo& p) { return p.stateB; }   // -1 none, 0 no, 1 yes
inline int& WaitStart(CPlayerInfo& p) { return p.stateC; }       // tick, -1 idle
inline int& WaitRemaining(CPlayerInfo& p) { return p.stateD; }   // ms, -1 idle
inline int& FewCards(CPlayerInfo& p) { return p.flagE; }         // alarm 0/1
inline int& PatternMark(CPlayerInfo& p) { return p.flagF; }      // straight-like play 0/1
inline int& Waiting(CPlayerInfo& p) { return p.stateG; }         // 0/1
inline int& ShownCard(CPlayerInfo& p) { return p.flagH; }        // 1 on the seat that showed a card
inline int& Plays(CPlayerInfo& p) { return p.stateJ; }           // non-empty plays made
inline int& ResultCount(CPlayerInfo& p) { return p.stateK; }     // cards-left flag of the result
inline int& Bounce(CPlayerInfo& p) { return p.stateL; }          // 0..10
inline int& FewCardsTicks(CPlayerInfo& p) { return p.stateM; }   // alarm frame
inline int& Landlord(CPlayerInfo& p) { return p.role; }          // 1 landlord / highest bidder, -1 none
}  // namespace seat
