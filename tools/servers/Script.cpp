#include "tools/servers/Script.h"

#include <cstdlib>
#include <sstream>

namespace servers {

const char Script::kMalformedText[] = "<GameMessage game=\"x\"><Message name=\"";

namespace {

bool ReadCount(std::istringstream& in, int& out) {
    std::string word;
    if (!(in >> word) || word.empty() || word.find_first_not_of("0123456789") != std::string::npos ||
        word.size() > 9)
        return false;
    out = std::atoi(word.c_str());
    return true;
}

}  // namespace

bool Script::Parse(const std::string& text, std::string* error) {
    std::vector<Fault> faults = faults_;
    std::vector<Extra> extras = extras_;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream in(line);
        std::string verb;
        if (!(in >> verb) || verb[0] == '#') continue;
        int connection = 0;
        bool ok = true;
        if (verb[0] == '@') {
            std::istringstream k(verb.substr(1));
            ok = ReadCount(k, connection) && connection > 0 && (in >> verb);
        }
        Fault f{FaultKind::kDrop, connection, 0, 0, std::string()};
        if (!ok) {
        } else if ((verb == "drop" || verb == "reset") && in >> std::ws && in.peek() == 'a') {
            std::string word;
            f.kind = verb == "drop" ? FaultKind::kDrop : FaultKind::kReset;
            ok = in >> word && word == "after" && in >> f.request;
            if (ok && in >> std::ws && !in.eof()) ok = ReadCount(in, f.ms) && (in >> std::ws).eof();
            if (ok) faults.push_back(f);
        } else if (verb == "drop" || verb == "reset" || verb == "truncate" || verb == "malformed") {
            f.kind = verb == "drop"       ? FaultKind::kDrop
                     : verb == "reset"    ? FaultKind::kReset
                     : verb == "truncate" ? FaultKind::kTruncate
                                          : FaultKind::kMalformed;
            ok = ReadCount(in, f.frame) && f.frame > 0;
            if (ok) faults.push_back(f);
        } else if (verb == "delay") {
            f.kind = FaultKind::kDelay;
            ok = ReadCount(in, f.frame) && f.frame > 0 && ReadCount(in, f.ms);
            if (ok) faults.push_back(f);
        } else if (verb == "after") {
            Extra e{connection, std::string(), std::string()};
            ok = static_cast<bool>(in >> e.request) && static_cast<bool>(std::getline(in >> std::ws, e.text)) &&
                 !e.text.empty();
            if (ok) extras.push_back(e);
        } else {
            ok = false;
        }
        if (!ok) {
            if (error) *error = "line " + std::to_string(number) + ": " + line;
            return false;
        }
    }
    faults_.swap(faults);
    extras_.swap(extras);
    return true;
}

std::vector<Fault> Script::FaultsFor(int connection, int frame) const {
    std::vector<Fault> out;
    for (const Fault& f : faults_)
        if ((f.connection == 0 || f.connection == connection) && f.frame == frame && f.request.empty())
            out.push_back(f);
    return out;
}

std::vector<Fault> Script::FaultsAfter(int connection, const std::string& name) const {
    std::vector<Fault> out;
    for (const Fault& f : faults_)
        if ((f.connection == 0 || f.connection == connection) && f.frame == 0 && f.request == name) out.push_back(f);
    return out;
}

std::vector<std::string> Script::ExtrasAfter(int connection, const std::string& name) const {
    std::vector<std::string> out;
    for (const Extra& e : extras_)
        if ((e.connection == 0 || e.connection == connection) && e.request == name) out.push_back(e.text);
    return out;
}

}  // namespace servers
