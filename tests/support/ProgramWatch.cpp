#include "tests/support/ProgramWatch.h"

#include <vector>

#include "tests/support/LoopbackServer.h"

namespace testsupport {

namespace {

// Texts of the boxes a crashed program shows: the table's own crash handler
// and Wine's debugger.
bool IsCrashBox(HWND box) {
    const std::string text = WindowText(box);
    if (text == "程序错误" || text == "Program Error") return true;
    std::string body;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        body += WindowText(child) + "\n";
    for (const char* sign : {".dmp\n", "出现意外即将关闭", "没有找到Dbghelp.dll", "创建app.dmp文件出错"})
        if (body.find(sign) != std::string::npos) return true;
    return false;
}

}  // namespace

MachineLoad::MachineLoad() {
    thread_ = std::thread([this] {
        while (!stop_) {
            const double now = LoadFactor();
            {
                std::lock_guard<std::mutex> hold(lock_);
                samples_.emplace_back(NowMs(), now);
                if (samples_.size() > 3000) samples_.erase(samples_.begin(), samples_.begin() + 1000);
            }
            ::Sleep(20);
        }
    });
}

MachineLoad::~MachineLoad() {
    stop_ = true;
    thread_.join();
}

double MachineLoad::Over(unsigned long long fromMs, unsigned long long toMs) const {
    std::lock_guard<std::mutex> hold(lock_);
    double sum = 0;
    int n = 0;
    for (const auto& s : samples_)
        if (s.first >= fromMs && s.first <= toMs) sum += s.second, ++n;
    if (n) return sum / n;
    return samples_.empty() ? 1.0 : samples_.back().second;
}

// The bound is an idle machine's, scaled by the load. The load read lags the
// moments a busy machine leaves the lobby no processor (at a load of 30 on 8
// processors a one-second bound saw answers of 6 s while the load read 7.75):
// two seconds, unless a test asks for less.
ProgramWatch::ProgramWatch(ChildProcess& program, const std::string& programFolder, const std::string& dumpStem,
                           unsigned answerMs)
    : program_(program), folder_(programFolder), stem_(dumpStem), answerMs_(answerMs) {
    dumpsBefore_ = Dumps();
    thread_ = std::thread([this] { Run(); });
}

ProgramWatch::~ProgramWatch() {
    stop_ = true;
    thread_.join();
}

void ProgramWatch::Watch(HWND window) { window_ = window; }

void ProgramWatch::Run() {
    while (!stop_) {
        const HWND window = window_;
        if (window && ::IsWindow(window)) {
            const unsigned long long start = NowMs();
            DWORD_PTR result = 0;
            const bool answered =
                ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, answerMs_ * 30, &result) != 0;
            const unsigned long long end = NowMs();
            const unsigned took = static_cast<unsigned>(end - start);
            const double load = load_.Over(start, end);
            ++pings_;
            if (took > longest_) longest_ = took;
            if (load > largestLoad_) largestLoad_ = load;
            // A window destroyed while asked is no miss.
            if ((!answered || took > answerMs_ * load) && ::IsWindow(window)) ++misses_;
        }
        for (int i = 0; i < 10 && !stop_; ++i) ::Sleep(10);
    }
}

std::set<std::string> ProgramWatch::Dumps() const {
    std::set<std::string> found;
    WIN32_FIND_DATAA f;
    HANDLE h = ::FindFirstFileA((folder_ + "\\" + stem_ + ".*.dmp").c_str(), &f);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(h, &f) != 0) found.insert(f.cFileName);
    if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
    return found;
}

std::string ProgramWatch::Crashes(bool allowExit) {
    std::string signs;
    if (program_.WaitExit(0)) {
        const DWORD code = program_.ExitCode();
        if (!allowExit) signs += "the program ended, exit code " + std::to_string(code) + "\n";
        else if (code >= 0xC0000000u) signs += "the program ended with exception code " + std::to_string(code) + "\n";
    }
    for (const std::string& dump : Dumps())
        if (!dumpsBefore_.count(dump)) signs += "a crash dump: " + dump + "\n";
    for (HWND box : program_.Windows("#32770"))
        if (IsCrashBox(box)) signs += "a crash box: " + WindowText(box) + "\n";
    return signs;
}

std::string ProgramWatch::ScanOutput(const std::string& text) {
    std::string lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        if (line.find("page fault") != std::string::npos || line.find("Unhandled exception") != std::string::npos)
            lines += line + "\n";
        at = end + 1;
    }
    return lines;
}

}  // namespace testsupport
