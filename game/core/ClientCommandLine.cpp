// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/ClientCommandLine.h"

#include <cctype>

#include "game/core/GameSession.h"
#include "lobby/net/base/NumberText.h"
#include "platform/CString.h"
#include "platform/StringSplitter.h"

namespace {

const int kFewestFields = 11;
const int kMostFields = 16;

// The decimal number the field begins with, when it is a port (1..65535).
bool ReadPort(const CString& field, int& port) {
    if (field.IsEmpty() || !std::isdigit(static_cast<unsigned char>(field[0]))) return false;
    const int value = StringToInt(field.str());
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

int Flag(const CString& field) { return field == "0" ? 0 : 1; }

}  // namespace

bool ApplyCommandLine(const CString& commandLine, CGameSession& session) {
    StringSplitter splitter;
    splitter.SetText(commandLine);
    splitter.SetSeparator(" ");
    splitter.SetSkipEmpty(1);
    CStringArray fields;
    splitter.Split(fields);
    const int count = fields.GetSize();
    if (count < kFewestFields || count > kMostFields) return false;

    int serverPort = 0;
    if (!ReadPort(fields[2], serverPort)) return false;
    int reconnectPort = 0;
    if (!ReadPort(fields[7], reconnectPort)) reconnectPort = 0;

    session.serverHost = fields[0].str();
    session.playerId = fields[1].str();
    session.serverPort = serverPort;
    session.roomId = fields[3].str();
    session.validation = fields[4].str();
    session.vipFlag = Flag(fields[5]);
    session.reconnectHost = fields[6].str();
    session.reconnectPort = reconnectPort;
    session.autoPlacedFlag = Flag(fields[8]);
    session.field9Text = fields[9].str();
    session.field10Text = fields[10].str();

    int used = kFewestFields;
    if (session.vipFlag == 1) {
        if (count == 13 || count == 15) {
            session.vipEnterFlag = 1;
            session.vipPassword = fields[11].str();
            session.vipGameId = fields[12].str();
            used = 13;
        } else if (count == 14 || count == 16) {
            session.vipPassword = fields[11].str();
            session.vipMinMoney = fields[12].str();
            session.vipStake = fields[13].str();
            used = 14;
        }
    }
    session.displayName = count > used ? fields[count - 1].str() : session.playerId;
    return true;
}
