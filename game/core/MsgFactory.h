// Builds the card-game client's requests and parses the server's messages.
// Stateless: each call uses a writer or reader of its own.
#pragma once

#include <string>

#include "game/core/WinTypes.h"

class CCardSet;
class CMessage;

class CMsgFactory {
public:
    CMsgFactory() {}

    // Every builder returns a new NUL-terminated text, which the caller frees
    // with delete[] after sending, and stores its length without the NUL
    // through length. Values are written as given, without escaping.
    unsigned char* BuildPlayerInfoValidate(const std::string& playerId, const std::string& validation,
                                           const std::string& version, unsigned int* length) const;
    unsigned char* BuildRequestDesk(const std::string& roomId, unsigned int* length) const;
    unsigned char* BuildReadyForPlaying(const std::string& playerId, unsigned int* length) const;
    unsigned char* BuildLeaving(unsigned int* length) const;
    unsigned char* BuildCancelAutoPlay(const std::string& playerId, unsigned int* length) const;
    unsigned char* BuildAutoPlay(const std::string& playerId, unsigned int* length) const;
    unsigned char* BuildBet(const std::string& playerId, const std::string& money, unsigned int* length) const;
    unsigned char* BuildRequestCreateGame(const std::string& playerId, const std::string& roomId,
                                          const std::string& password, const std::string& minMoney,
                                          const std::string& stake, unsigned int* length) const;
    unsigned char* BuildRequestEnterGame(const std::string& gameId, const std::string& roomId,
                                         const std::string& password, unsigned int* length) const;
    // "True" when multiplier is above 1.
    unsigned char* BuildDouble(const std::string& playerId, int multiplier, unsigned int* length) const;
    // "True" when claim is not 0.
    unsigned char* BuildAskForLandLord(const std::string& playerId, int claim, unsigned int* length) const;
    unsigned char* BuildJiaoFen(const std::string& playerId, int bid, unsigned int* length) const;
    // content must already be escaped for the wire.
    unsigned char* BuildChat(COLORREF color, const std::string& playerName, const std::string& sendTo,
                             const std::string& content, unsigned int* length) const;
    // One card element per card, in the set's order; an empty set is a pass.
    unsigned char* BuildChuPai(const std::string& playerId, const CCardSet& cards, unsigned int* length) const;

    // Turns one reply text (length bytes, NUL after them) into a new message
    // that the caller owns, or null: for an empty text, an unknown message
    // name, a text the reader rejects, or a message with impossible contents
    // (cards out of range, a dealt hand that is not 17 cards). Entries beyond
    // the fixed arrays of a message are dropped. Rejections are logged.
    // Running out of memory throws.
    CMessage* ParseMessage(const char* text, int length) const;
};

// The client's one factory.
CMsgFactory* GetMsgFactory();
