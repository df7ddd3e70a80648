// The player's seat as a test plays it: it follows the messages the client
// parsed and answers its own turns with requests made by the client's own
// builders (bid one above the highest, no double, the finder's first play).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/core/Card.h"
#include "game/core/CardFinder.h"
#include "game/core/CardSet.h"
#include "game/core/CardTypeJudge.h"

class CMessage;

typedef std::vector<std::pair<int, std::vector<std::pair<int, int>>>> PlayList;  // seat, cards (empty: pass)
// Replays a hand's plays by the rules: a seat that leads never passes, every
// play is a valid type and beats the play it follows. Empty when all hold,
// else what broke.
std::string IllegalPlay(const PlayList& plays);

class HumanSeat {
public:
    explicit HumanSeat(std::string id);
    // One parsed message; the request to send in answer, or an empty text.
    std::string Take(const CMessage& message);

    bool ResultSeen() const { return results_ > 0; }
    int Results() const { return results_; }
    int Refusals() const { return refusals_; }
    int OwnPlays() const { return ownPlays_; }
    std::vector<std::pair<int, int>> Hand() const;

private:
    CCard* Card(int number, int suit) const;
    std::string PlayTurn();

    std::string id_;
    std::vector<std::unique_ptr<CCard>> deck_;
    CCardSet hand_;
    CCardSet standing_;
    std::string standingBy_;
    int highest_ = 0;
    int results_ = 0;
    int refusals_ = 0;
    int ownPlays_ = 0;
    bool refused_ = false;
    bool passRefused_ = false;
    CCardTypeJudge judge_;
    CCardFinder finder_;
};
