// The plain rules of the lobby's web views and download dialog: the page
// command read out of an event address, the address comparison, the decision
// taken before each navigation, and the download's percent, speed and time
// left. No window here.
#pragma once

#include <string>

// The marks a page uses to talk to the lobby.
constexpr char kWebEventPrefix[] = "tarnelgame_on_mainweb_event";
constexpr char kWebLoadFinished[] = "javascript:loadfinish";
constexpr char kWebRefreshMark[] = "person_1";
constexpr char kWebIntro[] = "javascript:instro";

// What an event text "...('0',1234)" asks of the main lobby window: the code
// posted as kMsgMainCommand (0: nothing) and its value.
struct PageCommand {
    int code = 0;
    long value = 0;
};
// "('0',1234)" enters the rooms of match 1234 (code 9); "('1')" opens the
// member page (code 11); "('0','1234')", a text without "('" and unknown
// numbers give nothing.
PageCommand ParsePageCommand(const std::string& text);

// The address without anything from its first "#", then from its first "?".
std::string PageOfAddress(const std::string& address);

enum class NavigateDecision {
    kLoadFinished,  // loaded, cancelled
    kEvent,         // handed to the parent, cancelled
    kIntro,         // passed through
    kSamePage,      // only "#" or "?" differ: the loaded flag stays
    kOtherPage,     // loaded and error cleared
};
NavigateDecision DecideBeforeNavigate(const std::string& target, const std::string& current);

// The event text handed to the parent: the target from the prefix on.
std::string EventTextOf(const std::string& target);

// Download progress, whole percent of received over total; 0 while the total
// is unknown, at most 100.
int DownloadPercent(int total, int received);

// Speed and time left, sampled when at least a second has passed since the
// last sample; the time left uses the rate of the sample before and is 0 once
// the received bytes reach the total.
struct DownloadRate {
    unsigned long sampleTick = 0;
    int sampleBytes = 0;
    unsigned rate = 0;  // bytes per second
    unsigned secondsLeft = 0;
    void Start(unsigned long now) {
        sampleTick = now;
        rate = 0;
    }
    void Sample(unsigned long now, int total, int received);
    double KilobytesPerSecond() const { return rate / 1024.0; }
};

// The application server named by the updater's [system] system XML text: the
// second element's first attribute (address) and second attribute (port).
// False when the text has no such element.
bool ReadUpdaterServer(const std::string& xml, std::string& host, int& port);
