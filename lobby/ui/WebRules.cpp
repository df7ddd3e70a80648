#include "lobby/ui/WebRules.h"

#include <cstdlib>

#include "lobby/ui/LoginRules.h"
#include "xml/XMLTextReader.h"

PageCommand ParsePageCommand(const std::string& text) {
    PageCommand command;
    const size_t start = text.find("('");
    if (start == std::string::npos) return command;
    std::string first, second;
    ScanQuotedFields(text, start, first, second);
    const int number = std::atoi(first.c_str());
    if (number == 0 && !second.empty()) {
        command.code = 9;
        command.value = std::atol(second.c_str());
    } else if (number == 1) {
        command.code = 11;
    }
    return command;
}

std::string PageOfAddress(const std::string& address) {
    std::string page = address.substr(0, address.find('#'));
    return page.substr(0, page.find('?'));
}

NavigateDecision DecideBeforeNavigate(const std::string& target, const std::string& current) {
    if (target.find(kWebLoadFinished) != std::string::npos) return NavigateDecision::kLoadFinished;
    if (target.find(kWebEventPrefix) != std::string::npos) return NavigateDecision::kEvent;
    if (target.find(kWebIntro) != std::string::npos) return NavigateDecision::kIntro;
    return PageOfAddress(target) == PageOfAddress(current) ? NavigateDecision::kSamePage
                                                           : NavigateDecision::kOtherPage;
}

std::string EventTextOf(const std::string& target) {
    const size_t at = target.find(kWebEventPrefix);
    return at == std::string::npos ? std::string() : target.substr(at);
}

int DownloadPercent(int total, int received) {
    if (total <= 0 || received <= 0) return 0;
    const int percent = static_cast<int>(static_cast<double>(received) / total * 100);
    return percent > 100 ? 100 : percent;
}

void DownloadRate::Sample(unsigned long now, int total, int received) {
    if (now - sampleTick < 1000) return;
    if (rate > 0) secondsLeft = received >= total ? 0 : static_cast<unsigned>(total - received) / rate;
    sampleTick = now;
    rate = static_cast<unsigned>(received - sampleBytes);
    sampleBytes = received;
}

bool ReadUpdaterServer(const std::string& xml, std::string& host, int& port) {
    XMLTextReader reader;
    try {
        reader.SetXmlData(xml.c_str(), static_cast<int>(xml.size()));
        if (!reader.Read() || !reader.Read() || !reader.MoveToNextAttribute()) return false;
        host = reader.Value();
        if (!reader.MoveToNextAttribute()) return false;
        port = std::atoi(reader.Value().c_str());
        return true;
    } catch (int* code) {
        delete code;
        return false;
    }
}
