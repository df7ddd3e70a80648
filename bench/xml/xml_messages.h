// The messages the XML benchmark and its instruction count read and write, and
// one read of a text by each library (parse, visit every attribute value, free).
#pragma once

#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace xmlbench {

struct Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attrs;
    std::vector<Node> children;
};

inline Node Message(const std::string& game, const std::string& name, std::vector<Node> data) {
    Node message{"Message", {{"name", name}, {"type", "Request"}}, std::move(data)};
    return Node{"GameMessage", {{"game", game}}, {std::move(message)}};
}

inline Node Login() {
    return Message("Lobby", "Login",
                   {{"player", {{"id", "zhangsan"}, {"version", "2.0.1.5"}, {"gamename", "FENLO"}}, {}}});
}

// A room of 30 desks with three players each, as the lobby receives it.
inline Node DeskList() {
    Node room{"Room", {{"flag", "True"}}, {}};
    for (int d = 1; d <= 30; ++d) {
        Node desk{"desk",
                  {{"name", std::to_string(d)}, {"room", "12"}, {"id", std::to_string(d)}, {"x", ""}, {"f", "false"}},
                  {}};
        for (int s = 0; s < 3; ++s)
            desk.children.push_back({"player",
                                     {{"id", "player" + std::to_string(d * 3 + s)},
                                      {"nick", "\xD5\xC5\xC8\xFD"},
                                      {"seat", std::to_string(s)},
                                      {"f", "False"},
                                      {"n", "1"}},
                                     {}});
        room.children.push_back(std::move(desk));
    }
    return Message("Lobby", "DeskList", {std::move(room)});
}

inline Node ChuPai() {
    std::vector<Node> data{{"player", {{"id", "7"}}, {}}};
    for (int n : {5, 5, 5, 9, 9}) data.push_back({"card", {{"number", std::to_string(n)}, {"suit", "1"}}, {}});
    return Message("FENLO", "ChuPai", std::move(data));
}

inline Node GameResult() {
    std::vector<Node> players;
    for (int p = 0; p < 3; ++p) {
        Node player{"player", {{"id", std::to_string(p)}, {"money", "-200"}, {"score", "3"}}, {}};
        for (int c = 0; c < 8; ++c)
            player.children.push_back(
                {"card", {{"number", std::to_string(3 + c)}, {"suit", std::to_string(c % 4)}}, {}});
        players.push_back(std::move(player));
    }
    return Message("FENLO", "GameResult", std::move(players));
}

inline void Write(XMLTextWriter& w, const Node& n) {
    w.WriteStartElement(n.name);
    for (const auto& a : n.attrs) w.WriteAttributeString(a.first, a.second);
    for (const Node& c : n.children) Write(w, c);
    w.WriteEndElement();
}

inline std::string TesselText(const Node& n) {
    XMLTextWriter w;
    Write(w, n);
    unsigned int length = 0;
    unsigned char* data = w.GetXmlData(&length);
    std::string text(reinterpret_cast<char*>(data), length);
    delete[] data;
    return text;
}

// The summed sizes of the attribute values.
inline size_t TesselRead(const std::string& text) {
    XMLTextReader r;
    r.SetXmlData(text.c_str(), static_cast<int>(text.size()));
    size_t sum = 0;
    while (r.Read())
        while (r.MoveToNextAttribute()) sum += r.Value().size();
    return sum;
}

inline void Visit(pugi::xml_node n, size_t& sum) {
    for (pugi::xml_attribute a : n.attributes()) sum += std::char_traits<char>::length(a.value());
    for (pugi::xml_node c : n.children()) Visit(c, sum);
}

inline size_t PugiRead(const std::string& text) {
    pugi::xml_document d;
    d.load_buffer(text.data(), text.size());
    size_t sum = 0;
    Visit(d, sum);
    return sum;
}

}  // namespace xmlbench
