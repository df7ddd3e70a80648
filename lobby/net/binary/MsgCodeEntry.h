// One row of a message code table: a message name and the code that stands for
// it in the binary message form (only 0..255 can appear on the wire).
#pragma once

#include <string>
#include <utility>
#include <vector>

struct MsgCodeEntry {
    // A row that was never set: no wire code, so nothing sent can carry it.
    static const int kUnset = -1;

    MsgCodeEntry() : code(kUnset) {}
    MsgCodeEntry(int code_, std::string name_, std::string content_ = std::string())
        : code(code_), name(std::move(name_)), content(std::move(content_)) {}

    int code;
    std::string name;
    std::string content;
};

typedef std::vector<MsgCodeEntry> MsgCodeTable;
