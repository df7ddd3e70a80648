// The requests of the card-game client, one message document each.
#include <initializer_list>
#include <utility>

#include "game/core/CardSet.h"
#include "game/core/MsgFactory.h"
#include "game/core/TextConvert.h"
#include "xml/XMLTextWriter.h"

namespace {

typedef std::pair<const char*, std::string> Attr;

// GameMessage and Message opened on construction, data elements in between,
// both closed by Finish.
class Request {
public:
    Request(const char* game, const char* name, bool typed) {
        writer_.WriteStartElement("GameMessage");
        writer_.WriteAttributeString("game", game);
        writer_.WriteStartElement("Message");
        writer_.WriteAttributeString("name", name);
        if (typed) writer_.WriteAttributeString("type", "Request");
    }

    Request& Data(const char* element, std::initializer_list<Attr> attributes) {
        writer_.WriteStartElement(element);
        for (const Attr& a : attributes) writer_.WriteAttributeString(a.first, a.second);
        writer_.WriteEndElement();
        return *this;
    }

    unsigned char* Finish(unsigned int* length) {
        writer_.WriteEndElement();
        writer_.WriteEndElement();
        return writer_.GetXmlData(length);
    }

private:
    XMLTextWriter writer_;
};

const char kGame[] = "FENLO";
const bool kTyped = true;
const bool kUntyped = false;

}  // namespace

unsigned char* CMsgFactory::BuildPlayerInfoValidate(const std::string& playerId, const std::string& validation,
                                                    const std::string& version, unsigned int* length) const {
    return Request(kGame, "PlayerInfoValidate", kTyped)
        .Data("player", {{"id", playerId}, {"validation", validation}, {"version", version}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildRequestDesk(const std::string& roomId, unsigned int* length) const {
    return Request(kGame, "RequestDesk", kTyped).Data("room", {{"id", roomId}}).Finish(length);
}

unsigned char* CMsgFactory::BuildReadyForPlaying(const std::string& playerId, unsigned int* length) const {
    return Request(kGame, "ReadyForPlaying", kUntyped).Data("player", {{"id", playerId}}).Finish(length);
}

unsigned char* CMsgFactory::BuildLeaving(unsigned int* length) const {
    return Request(kGame, "Leaving", kTyped).Finish(length);
}

unsigned char* CMsgFactory::BuildCancelAutoPlay(const std::string& playerId, unsigned int* length) const {
    return Request(kGame, "CancelAutoPlay", kUntyped).Data("player", {{"id", playerId}}).Finish(length);
}

unsigned char* CMsgFactory::BuildAutoPlay(const std::string& playerId, unsigned int* length) const {
    return Request(kGame, "AutoPlay", kUntyped).Data("player", {{"id", playerId}}).Finish(length);
}

unsigned char* CMsgFactory::BuildBet(const std::string& playerId, const std::string& money,
                                     unsigned int* length) const {
    return Request(kGame, "Bet", kTyped).Data("bet", {{"player", playerId}, {"money", money}}).Finish(length);
}

unsigned char* CMsgFactory::BuildRequestCreateGame(const std::string& playerId, const std::string& roomId,
                                                   const std::string& password, const std::string& minMoney,
                                                   const std::string& stake, unsigned int* length) const {
    return Request("Lobby", "RequestCreateGame", kTyped)
        .Data("player",
              {{"id", playerId}, {"roomid", roomId}, {"password", password}, {"minmoney", minMoney}, {"stack", stake}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildRequestEnterGame(const std::string& gameId, const std::string& roomId,
                                                  const std::string& password, unsigned int* length) const {
    return Request("Lobby", "RequestEnterGame", kTyped)
        .Data("game", {{"id", gameId}, {"roomid", roomId}, {"password", password}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildDouble(const std::string& playerId, int multiplier, unsigned int* length) const {
    return Request(kGame, "Double", kTyped)
        .Data("player", {{"id", playerId}, {"double", multiplier > 1 ? "True" : "False"}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildAskForLandLord(const std::string& playerId, int claim, unsigned int* length) const {
    return Request(kGame, "AskForLandLord", kTyped)
        .Data("player", {{"id", playerId}, {"askforlandlord", claim != 0 ? "True" : "False"}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildJiaoFen(const std::string& playerId, int bid, unsigned int* length) const {
    return Request(kGame, "JiaoFen", kUntyped)
        .Data("player", {{"id", playerId}, {"score", IntToString(bid)}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildChat(COLORREF color, const std::string& playerName, const std::string& sendTo,
                                      const std::string& content, unsigned int* length) const {
    std::string rgb =
        IntToString(color & 0xFF) + "," + IntToString((color >> 8) & 0xFF) + "," + IntToString((color >> 16) & 0xFF);
    return Request("lobby", "Chat", kTyped)
        .Data("Chat", {{"sysmsg", "0"},
                       {"color", rgb},
                       {"playername", playerName},
                       {"messageplace", "desk"},
                       {"sendto", sendTo},
                       {"chatcontent", content}})
        .Finish(length);
}

unsigned char* CMsgFactory::BuildChuPai(const std::string& playerId, const CCardSet& cards,
                                        unsigned int* length) const {
    Request request(kGame, "ChuPai", kUntyped);
    request.Data("player", {{"id", playerId}});
    for (CCardSet::CardIterator c = cards.CardsBegin(); c != cards.CardsEnd(); ++c)
        request.Data("card", {{"number", IntToString((*c)->GetNumber())}, {"suit", IntToString((*c)->GetSuit())}});
    return request.Finish(length);
}
