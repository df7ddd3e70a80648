#include "tools/servers/CodeTables.h"

#include <initializer_list>

namespace servers {

namespace {

MsgCodeTable Numbered(std::initializer_list<const char*> names) {
    MsgCodeTable table;
    int code = 1;
    for (const char* n : names) table.emplace_back(code++, n, n);
    return table;
}

}  // namespace

MsgCodeTable DefaultLobbyCodes() {
    return Numbered({"Login", "PlayerValidate", "RequestRoomList", "RequestEnterRoom", "RequestEnterDesk", "Chat",
                     "PingData", "MACAddr", "RequestEnterDeskMessage", "RequestDeskList", "EnterRoomFailed",
                     "LowClientVersion", "ValidateFailed", "KickPlayer", "KeepAlive", "ValidateSuccess",
                     "RefreshPlayerInfo", "ReadyToEnterRoom", "PlayerLeave", "RoomPlayerList", "GameStart",
                     "GameOver", "PlayerState", "EnterDeskAK", "Notice", "LoginFailed", "LoginKey",
                     "PlayerChangeDesk", "LoginSuccess", "DeskList", "GameList", "AddGame", "RemoveGame", "AddRoom",
                     "RemoveRoom", "PlayerCount"});
}

MsgCodeTable DefaultGameCodes() {
    return Numbered({"PingData", "RequestLeave", "AnonymousClint", "Leaving", "PlayerInfoValidate", "RequestDesk",
                     "JiaoFen", "AskForLandLord", "RequestDeskList", "CancelAutoPlay", "AutoPlay", "ReadyForPlaying",
                     "PlayerIP", "RequestEnterGame", "RequestEnterDesk", "RequestCreateGame", "Double", "AgencyInfo",
                     "GameStart", "Chat", "ChuPai", "waittingArrange", "AskPlayerSignUp", "KickPlayer", "MingPai",
                     "ValidateFailed", "ChuPaiFailed", "ValidateSuccess", "PlayerLeave", "RefreshPlayerInfo",
                     "AnswerLeave", "BeginBet", "WaittingPlayer", "BeginJiaoFen", "GameNotice", "GameOver",
                     "BeginChuPai", "PlayerState", "PlayerGoal", "CreateGameFailed", "EnterDesk", "Anonymousinfo",
                     "BeginAskForLandLord", "BeginDouble", "CreateGameSuccess", "ReRequestDesk", "KeepAlive", "Bet",
                     "SendCard", "SendRemainCard", "DeskPlayerInfo", "RestorePlayer", "GameResult"});
}

std::string CodeFileText(const MsgCodeTable& table) {
    std::string text = "[TotalMessageNum]\r\ncount=" + std::to_string(table.size()) + "\r\n";
    for (size_t i = 0; i < table.size(); ++i)
        text += "[message" + std::to_string(i + 1) + "]\r\nid=" + std::to_string(table[i].code) +
                "\r\nname=" + table[i].name + "\r\ncontent =" + table[i].content + "\r\n";
    return text;
}

}  // namespace servers
