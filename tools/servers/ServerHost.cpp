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

void ScriptedHost::Serve(testsupport::Connection& c, int index) {
    int sent = 0;
    for (;;) {
        int kind = 0;
        std::string payload;
        if (!c.ReadFrame(kind, payload, options_.idleMs)) break;
        Touch();
        Request request;
        if (kind == 0) {
            if (!ReadBinaryRequest(payload, options_.codes, request)) continue;
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
        for (const Reply& reply : answer_(index, request)) {
            std::string bytes;
            const bool asBinary = binary && reply.Binary(options_.codes, bytes);
            if (!asBinary) bytes = reply.Xml();
            Note("> " + reply.Xml());
            if (!Send(c, index, ++sent, asBinary ? 0 : 1, bytes)) return;
        }
        if (!request.document) continue;
        for (const std::string& text : script.ExtrasAfter(index, request.name))
            if (!Send(c, index, ++sent, 1, text)) return;
        for (const Fault& f : script.FaultsAfter(index, request.name)) {
            c.Pause(f.ms);
            if (f.kind == FaultKind::kReset)
                c.Reset();
            else
                c.Close();
            return;
        }
    }
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
