// Helpers of the game message tests: documents as the server sends them and
// typed parsing.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "game/core/GameLog.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"

// The message document around data elements, in the writer's form.
inline std::string Doc(const std::string& name, const std::string& data = "") {
    std::string head = "<GameMessage game=\"FENLO\"><Message name=\"" + name + "\" type=\"Request\"";
    return data.empty() ? head + "/></GameMessage>" : head + ">" + data + "</Message></GameMessage>";
}

inline CMessage* ParseText(const std::string& text) {
    return GetMsgFactory()->ParseMessage(text.c_str(), static_cast<int>(text.size()));
}

// The parsed message as M; a failure and an empty M when it is none or another kind.
template <class M>
std::unique_ptr<M> Parse(const std::string& text) {
    std::unique_ptr<CMessage> m(ParseText(text));
    M* typed = dynamic_cast<M*>(m.get());
    if (!typed) {
        ADD_FAILURE() << "no message of kind " << M::kType << " from " << text;
        return std::unique_ptr<M>(new M);
    }
    m.release();
    return std::unique_ptr<M>(typed);
}

template <class M>
std::unique_ptr<M> Msg(const std::string& name, const std::string& data = "") {
    return Parse<M>(Doc(name, data));
}

// Collects what the core logs while it lives.
struct LogCapture {
    static std::vector<std::string>& lines() {
        static std::vector<std::string> all;
        return all;
    }
    LogCapture() {
        lines().clear();
        SetGameLogSink([](const std::string& line) { lines().push_back(line); });
    }
    ~LogCapture() { SetGameLogSink(nullptr); }
};

typedef std::vector<int> Ints;
