// The game server's desk, without sockets: one player of ours (seat 0) and two
// robot seats that bid, double and play by the client's own rules and play
// finder. Every request of the player gives the replies to send, the robots'
// moves that follow included, up to the player's next turn or the result.
// Deals and the robots' choices follow from the seed alone.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/core/CardSet.h"
#include "tools/servers/Reply.h"
#include "tools/servers/Request.h"

class CCard;
class CCardFinder;
class CCardTypeJudge;

namespace servers {

struct GameConfig {
    std::string room = "1";
    std::string desk = "1";
    std::string secret = "loopback";  // shared with the lobby server for the room tokens
    std::string robots[2] = {"robot1", "robot2"};
    unsigned seed = 1;
    int turnSeconds = 30;
    int stake = 10;
    double money = 1000.0;
};

class GameDesk {
public:
    enum Stage { kSeated, kBidding, kDoubling, kPlaying };

    explicit GameDesk(GameConfig config);
    ~GameDesk();
    GameDesk(const GameDesk&) = delete;
    GameDesk& operator=(const GameDesk&) = delete;

    // The replies to one request of the player's connection.
    std::vector<Reply> Answer(const Request& request);

    // For tests: where the hand stands.
    Stage GetStage() const { return stage_; }
    int Turn() const { return turn_; }
    int Landlord() const { return landlord_; }
    const std::string& Player() const { return names_[0]; }
    // A seat's cards as (number, suit), and every play made this hand (seat, cards; empty: pass).
    CardList Hand(int seat) const;
    const std::vector<std::pair<int, CardList>>& Plays() const { return plays_; }
    int HandsPlayed() const { return handsPlayed_; }

private:
    std::vector<Reply> Validate(const Request& r);
    std::vector<Reply> Deal();
    std::vector<Reply> Bid(int seat, int score);
    std::vector<Reply> DoubleAnswer(int seat, bool yes);
    std::vector<Reply> Play(int seat, std::vector<CCard*> cards);
    std::vector<Reply> Restore();
    // Robot (and auto-played) turns until the player must act; appended to out.
    void RunRobots(std::vector<Reply>& out);
    void TurnNotice(std::vector<Reply>& out);
    void EndBidding(std::vector<Reply>& out);
    void Result(std::vector<Reply>& out);

    int RobotBid(int seat);
    bool RobotDoubles(int seat);
    std::vector<CCard*> RobotPlay(int seat);
    int Strength(int seat) const;
    // The play to beat: the last one not followed by two passes, by another seat.
    CCardSet* ToBeat();
    // The request's cards as deck cards; false when one is no card of the deck.
    bool CardsOf(const Request& r, std::vector<CCard*>& out) const;
    CardList ListOf(const std::vector<CCard*>& cards) const;
    CardList ListOf(const CCardSet& set) const;
    std::string Id(int seat) const { return names_[seat]; }
    bool Robot(int seat) const { return seat != 0 || autoPlay_; }

    GameConfig config_;
    std::string names_[3];
    std::mt19937 rng_;
    std::vector<std::unique_ptr<CCard>> deck_;
    CCardSet hands_[3];
    CCardSet bottom_;
    CCardSet lastPlay_[3];  // this round's play of each seat (empty: passed or none)
    std::unique_ptr<CCardTypeJudge> judge_;
    std::unique_ptr<CCardFinder> finder_;
    CCardSet toBeat_;
    std::vector<std::pair<int, CardList>> plays_;
    double money_[3];
    int bids_[3] = {-1, -1, -1};
    int doubled_[3] = {0, 0, 0};  // 0 none, 1 declined, 2 doubled
    int playCount_[3] = {0, 0, 0};
    Stage stage_ = kSeated;
    bool validated_ = false;
    bool autoPlay_ = false;
    int turn_ = 0;
    int firstBidder_ = 0;
    int bidsMade_ = 0;
    int highest_ = 0;
    int landlord_ = -1;
    int leader_ = -1;   // the seat whose play stands; -1: the turn leads
    int doubles_ = 0;
    int bombs_ = 0;
    int handsPlayed_ = 0;
};

}  // namespace servers
