#include "lobby/net/binary/MsgCodeIni.h"

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <algorithm>
#include <cstdio>

#include "lobby/net/base/IniSection.h"
#include "lobby/net/binary/BinaryForm.h"

namespace {

const DWORD kValueSize = 512;

std::string ReadValue(const char* section, const char* key, const std::string& path) {
    char value[kValueSize] = {0};
    GetPrivateProfileStringA(section, key, "", value, kValueSize, path.c_str());
    return value;
}

std::string InFolder(const std::string& folder, const char* file) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + file;
    return folder + "\\" + file;
}

}  // namespace

// One profile call per row's section: a table of many rows is read at start-up.
// A count beyond the file's sections is cut to them.
int ReadMsgCodeFile(const std::string& path, MsgCodeTable& table) {
    int count = binform::ToInt(ReadValue("TotalMessageNum", "count", path));
    if (count > 0) count = static_cast<int>(std::min<size_t>(static_cast<size_t>(count), IniSectionCount(path)));
    for (int i = 1; i <= count; ++i) {
        char section[32];
        std::snprintf(section, sizeof section, "message%d", i);
        const IniSection keys = ReadIniSection(path, section);
        MsgCodeEntry row;
        row.code = binform::ToInt(keys.Value("id", kValueSize));
        row.name = keys.Value("name", kValueSize);
        row.content = keys.Value("content ", kValueSize);
        table.push_back(row);
    }
    return count > 0 ? count : 0;
}

int LoadLobbyMsgTable(const std::string& programFolder, MsgCodeTable& table) {
    return ReadMsgCodeFile(InFolder(programFolder, "Msg.ini"), table);
}

int LoadGameMsgTable(const std::string& baseFolder, MsgCodeTable& table) {
    return ReadMsgCodeFile(InFolder(baseFolder, "fenlo\\FENLOMsg.ini"), table);
}
