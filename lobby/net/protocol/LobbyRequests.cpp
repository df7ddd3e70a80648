#include <initializer_list>
#include <utility>

#include "lobby/net/protocol/LobbyProtocol.h"
#include "xml/XMLTextWriter.h"

namespace {

typedef std::pair<const char*, const std::string&> Attribute;

unsigned char* BuildRequest(const char* game, const char* name, const char* element,
                            std::initializer_list<Attribute> attributes, int* length) {
    XMLTextWriter writer;
    writer.WriteStartElement("GameMessage");
    writer.WriteAttributeString("game", game);
    writer.WriteStartElement("Message");
    writer.WriteAttributeString("name", name);
    writer.WriteAttributeString("type", "Request");
    writer.WriteStartElement(element);
    for (const Attribute& a : attributes) writer.WriteAttributeString(a.first, a.second);
    writer.WriteEndElement();
    writer.WriteEndElement();
    writer.WriteEndElement();
    unsigned size = 0;
    unsigned char* text = writer.GetXmlData(&size);
    if (length) *length = static_cast<int>(size);
    return text;
}

}  // namespace

unsigned char* CLobbyProtocol::MakeLoginMsg(const std::string& id, const std::string& version,
                                            const std::string& gamename, int* length) {
    return BuildRequest("Lobby", "Login", "player", {{"id", id}, {"version", version}, {"gamename", gamename}}, length);
}

unsigned char* CLobbyProtocol::MakeValidateMsg(const std::string& id, const std::string& ticket, int* length) {
    return BuildRequest("Lobby", "PlayerValidate", "player", {{"id", id}, {"ticket", ticket}}, length);
}

unsigned char* CLobbyProtocol::MakeRoomListMsg(const std::string& name, int* length) {
    return BuildRequest("Lobby", "RequestRoomList", "member", {{"name", name}}, length);
}

unsigned char* CLobbyProtocol::MakeEnterRoomMsg(const std::string& id, const std::string& roomid, int* length) {
    return BuildRequest("Lobby", "RequestEnterRoom", "player", {{"id", id}, {"roomid", roomid}}, length);
}

unsigned char* CLobbyProtocol::MakeEnterDeskMsg(const std::string& roomid, const std::string& deskid,
                                                const std::string& seat, int* length) {
    return BuildRequest("FENLO", "RequestEnterDesk", "game", {{"roomid", roomid}, {"deskid", deskid}, {"seat", seat}},
                        length);
}

unsigned char* CLobbyProtocol::MakeChatMsg(const std::string& color, const std::string& playername,
                                           const std::string& messageplace, const std::string& sendto,
                                           const std::string& chatcontent, int* length) {
    static const std::string kNotSystem = "0";
    return BuildRequest("lobby", "Chat", "chat",
                        {{"sysmsg", kNotSystem},
                         {"color", color},
                         {"playername", playername},
                         {"messageplace", messageplace},
                         {"sendto", sendto},
                         {"chatcontent", chatcontent}},
                        length);
}
