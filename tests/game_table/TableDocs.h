// The table's tests in both builds: server messages as the game server
// writes them, and counts over what the tests record.
#pragma once

#include <string>
#include <vector>

namespace table_test {

inline std::string Doc(const std::string& name, const std::string& data = "") {
    const std::string head = "<GameMessage game=\"FENLO\"><Message name=\"" + name + "\"";
    return data.empty() ? head + "/></GameMessage>" : head + ">" + data + "</Message></GameMessage>";
}
inline std::string Card(int number, int suit) {
    return "<card number=\"" + std::to_string(number) + "\" suit=\"" + std::to_string(suit) + "\"/>";
}
inline std::string Player(const std::string& id, int seat, int money = 1000, bool ready = false) {
    return "<player id=\"" + id + "\" seat=\"" + std::to_string(seat) + "\" money=\"" + std::to_string(money) +
           "\" ready=\"" + (ready ? "True" : "False") + "\" ip=\"1\"/>";
}
inline std::string Turn(const char* name, const char* who, int seconds) {
    return Doc(name, std::string("<player id=\"") + who + "\" remainTime=\"" + std::to_string(seconds) + "\"/>");
}
inline std::string Play(const char* who, const std::string& cards = "") {
    return Doc("ChuPai", std::string("<player id=\"") + who + "\"/>" + cards);
}

// A desk of alice (seat 0), bob (1) and carol (2).
inline std::string ThreeSeated() {
    return Doc("DeskPlayerInfo", "<desk stake=\"100\"/>" + Player("alice", 0) + Player("bob", 1) + Player("carol", 2));
}
// alice's hand: four each of 3 to 6, and the 8 of suit 0.
inline std::string DealtToAlice() {
    std::string cards = "<player id=\"alice\"/>";
    for (int i = 0; i < 17; ++i) cards += Card(i < 16 ? 3 + i / 4 : 8, i < 16 ? i % 4 : 0);
    return Doc("SendCard", cards);
}

// Requests whose text names the message.
inline int CountSent(const std::vector<std::string>& requests, const std::string& name) {
    int n = 0;
    for (const std::string& r : requests) n += r.find("\"" + name + "\"") != std::string::npos;
    return n;
}
// A box ("text|caption|type|seconds") that starts with the text.
inline bool AnyStartsWith(const std::vector<std::string>& boxes, const std::string& text) {
    for (const std::string& b : boxes)
        if (b.compare(0, text.size(), text) == 0) return true;
    return false;
}
// Sounds of that file in fenlo\sound.
inline int CountPlayed(const std::vector<std::string>& sounds, const std::string& sound) {
    int n = 0;
    for (const std::string& s : sounds) n += s == "fenlo\\sound\\" + sound;
    return n;
}

}  // namespace table_test
