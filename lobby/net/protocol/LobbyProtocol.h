// CLobbyProtocol: the lobby's requests and the reading of the server's replies.
// It has no state; the data hub holds the one the lobby uses.
//
// Each builder returns a new[]'d NUL-terminated message document (the writer's
// buffer) and stores its length without the NUL through length; the caller
// sends exactly that many bytes and frees the buffer with delete[]. Values are
// written as they stand, nothing escaped.
#pragma once

#include <string>

#include "lobby/net/base/Exception.h"

class CMessage;

// A received text that is not a message document.
class ReplyFormatError : public Exception {
public:
    explicit ReplyFormatError(int code) : Exception("malformed reply"), code_(code) {}
    int Code() const { return code_; }  // the XML reader's: -1 bad tag, 0 tags left open

private:
    int code_;
};

class CLobbyProtocol {
public:
    unsigned char* MakeLoginMsg(const std::string& id, const std::string& version, const std::string& gamename,
                                int* length);
    unsigned char* MakeValidateMsg(const std::string& id, const std::string& ticket, int* length);
    unsigned char* MakeRoomListMsg(const std::string& name, int* length);
    unsigned char* MakeEnterRoomMsg(const std::string& id, const std::string& roomid, int* length);
    unsigned char* MakeEnterDeskMsg(const std::string& roomid, const std::string& deskid, const std::string& seat,
                                    int* length);
    unsigned char* MakeChatMsg(const std::string& color, const std::string& playername, const std::string& messageplace,
                               const std::string& sendto, const std::string& chatcontent, int* length);

    // Reads one reply (length bytes, not modified) under the hub's lobby lock
    // and returns a new message that the caller owns, or null: for a name it
    // does not know, for "playerinfo" (which updates the hub), and for a reply
    // that lacks a value it reads (dropped and logged; the hub keeps what it
    // had). Throws ReplyFormatError when the text is not a message document.
    CMessage* ParseMessage(const char* text, int length);
};
