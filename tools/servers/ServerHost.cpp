#include "tools/servers/ServerHost.h"

#include <cstdio>

#include "tests/support/LoopbackServer.h"

namespace servers {

ScriptedHost::ScriptedHost(HostOptions options, Answer answer)
    : options_(std::move(options)), answer_(std::move(answer)) {}

ScriptedHost::~ScriptedHost() { Stop(); }

void ScriptedHost::Start() {
    started_ = testsupport::NowMs();
    lastActivity_ = started_;
    server_.reset(new testsupport::LoopbackServer(
        [this](testsupport::Connection& c) {
            int index;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                index = ++connections_;
            }
            Touch();
            Serve(c, index);
        },
        options_.port));
}

unsigned short ScriptedHost::Port() const { return server_ ? server_->Port() : 0; }

void ScriptedHost::SetScript(const Script& script) {
    std::lock_guard<std::mutex> lock(mutex_);
    options_.script = script;
}

std::vector<std::string> ScriptedHost::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int ScriptedHost::Connections() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_;
}

void ScriptedHost::Note(const std::string& line) {
    if (options_.transcript.empty()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (FILE* f = std::fopen(options_.transcript.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

int ScriptedHost::HostileSent() const { return hostileSent_; }

int ScriptedHost::ProbesSent() const { return probesSent_; }

void ScriptedHost::Touch() { lastActivity_ = testsupport::NowMs(); }

bool ScriptedHost::Expired() {
    const unsigned long long now = testsupport::NowMs();
    const bool expired = now - lastActivity_ >= static_cast<unsigned long long>(options_.idleMs) ||
                         now - started_ >= static_cast<unsigned long long>(options_.overallMs);
    if (expired) Stop();
    return expired;
}

void ScriptedHost::Stop() {
    if (server_) server_->Stop();
}

namespace {

// True when the peer has sent something not yet read.
bool Waiting(testsupport::Connection& c) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(c.Handle(), &set);
    timeval none = {0, 0};
    return c.Handle() != INVALID_SOCKET && select(0, &set, nullptr, nullptr, &none) > 0;
}

}  // namespace

void ScriptedHost::Serve(testsupport::Connection& c, int index) {
    Session s{c, index, 0, false};
    for (;;) {
        int kind = 0;
        std::string payload;
        if (!c.ReadFrame(kind, payload, options_.idleMs) || !Handle(s, kind, payload)) break;
    }
}

bool ScriptedHost::Handle(Session& s, int kind, const std::string& payload) {
    Touch();
    Request request;
    if (kind == 0) {
        if (!ReadBinaryRequest(payload, options_.codes, request)) return true;
    } else {
        request = ReadTextRequest(payload);
    }
    Script script;
    const std::string name = request.document ? request.name : std::string("(text)");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(name);
        script = options_.script;
    }
    Note("< " + name);
    const bool binary = options_.form == ReplyForm::kBinary || (options_.form == ReplyForm::kMirror && kind == 0);
    for (const Reply& reply : answer_(s.index, request)) {
        std::string bytes;
        const bool asBinary = binary && reply.Binary(options_.codes, bytes);
        if (!asBinary) bytes = reply.Xml();
        Note("> " + reply.Xml());
        if (!Send(s.c, s.index, ++s.sent, asBinary ? 0 : 1, bytes)) return false;
    }
    if (request.document) {
        for (const std::string& text : script.ExtrasAfter(s.index, request.name))
            if (!Send(s.c, s.index, ++s.sent, 1, text)) return false;
        for (const Fault& f : script.FaultsAfter(s.index, request.name)) {
            s.c.Pause(f.ms);
            if (f.kind == FaultKind::kReset)
                s.c.Reset();
            else
                s.c.Close();
            return false;
        }
    }
    if (request.document && request.name == options_.hostile.after && !s.hostile) return GoHostile(s, binary);
    return true;
}

bool ScriptedHost::AnswerWaiting(Session& s) {
    while (Waiting(s.c)) {
        int kind = 0;
        std::string payload;
        if (!s.c.ReadFrame(kind, payload, 5000) || !Handle(s, kind, payload)) return false;
    }
    return true;
}

bool ScriptedHost::WaitAnswering(Session& s, const std::function<bool()>& condition, int ms) {
    const unsigned long long giveUp = testsupport::NowMs() + static_cast<unsigned long long>(ms);
    while (!condition() && testsupport::NowMs() < giveUp) {
        if (!AnswerWaiting(s)) return false;
        s.c.Pause(50);
    }
    return true;
}

bool ScriptedHost::GoHostile(Session& s, bool binary) {
    const HostilePlan& plan = options_.hostile;
    if (!plan.vocabulary) return true;
    int ordinal;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (hostileConnections_ >= plan.connections) return true;
        ordinal = ++hostileConnections_;
    }
    s.hostile = true;
    HostileGenerator generator(*plan.vocabulary, plan.seed + static_cast<unsigned>(ordinal - 1));
    if (plan.tune) plan.tune(generator);
    std::vector<HostileKind> recent;  // for the report when the client ends the connection
    for (int i = 1; i <= plan.frames; ++i) {
        const HostileFrame f = generator.Next();
        if (recent.size() == 8) recent.erase(recent.begin());
        recent.push_back(f.kind);
        // The client's requests (keep-alives among them) are answered between the frames.
        if (!s.c.Send(f.bytes) || !AnswerWaiting(s)) {
            std::string kinds;
            for (HostileKind k : recent) kinds += std::string(kinds.empty() ? "" : ", ") + HostileKindName(k);
            std::fprintf(stderr, "hostile run %d (seed %u): connection lost at frame %d after %s\n", ordinal,
                         generator.Seed(), i, kinds.c_str());
            return false;
        }
        ++hostileSent_;
        ++s.sent;
        Touch();
        if (plan.probe && plan.probeEvery > 0 && i % plan.probeEvery == 0) {
            if (plan.probeWhen && !WaitAnswering(s, [&] { return plan.probeWhen(probesSent_ + 1); }, 20000))
                return false;
            const Reply r = plan.probe(++probesSent_);
            std::string bytes;
            const bool asBinary = binary && r.Binary(options_.codes, bytes);
            if (!asBinary) bytes = r.Xml();
            if (!s.c.Send(testsupport::Frame(asBinary ? 0 : 1, bytes))) return false;
            ++s.sent;
        }
    }
    if (!plan.ending) return true;
    if (plan.endWhen && !WaitAnswering(s, plan.endWhen, 60000)) return false;
    if (plan.beforeEnding) plan.beforeEnding();
    const HostileFrame end = generator.Ending();
    s.c.Send(end.bytes);
    if (end.reset)
        s.c.Reset();
    else
        s.c.Close();
    return false;
}

bool ScriptedHost::Send(testsupport::Connection& c, int index, int number, int kind, const std::string& payload) {
    Script script;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        script = options_.script;
    }
    std::string frame = testsupport::Frame(kind, payload);
    const std::vector<Fault> faults = script.FaultsFor(index, number);
    for (const Fault& f : faults)
        if (f.kind == FaultKind::kDelay) c.Pause(f.ms);
    for (const Fault& f : faults) {
        if (f.kind == FaultKind::kMalformed) frame = testsupport::Frame(1, Script::kMalformedText);
        if (f.kind == FaultKind::kTruncate) {
            c.Send(frame.substr(0, 5 + payload.size() / 2));
            c.Close();
            return false;
        }
    }
    if (!c.Send(frame)) return false;
    Touch();
    for (const Fault& f : faults) {
        if (f.kind == FaultKind::kDrop) {
            c.Close();
            return false;
        }
        if (f.kind == FaultKind::kReset) {
            c.Reset();
            return false;
        }
    }
    return true;
}

}  // namespace servers
