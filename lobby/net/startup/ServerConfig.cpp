#include "lobby/net/startup/ServerConfig.h"

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdlib>
#include <ctime>
#include <memory>

#include "lobby/net/base/IniSection.h"
#include "lobby/net/base/TextHelpers.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyStrings.h"
#include "xml/XMLReadText.h"
#include "xml/XMLTextWriter.h"

namespace {

const size_t kValueChars = 512;

}  // namespace

std::string ReadProfileText(const std::string& file, const char* section, const char* key) {
    wchar_t value[kValueChars] = {};
    GetPrivateProfileStringW(AnsiToUtf16(section).c_str(), AnsiToUtf16(key).c_str(), L"", value, kValueChars,
                             Utf8ToWide(file).c_str());
    return Utf16ToAnsi(value);
}

bool WriteProfileText(const std::string& file, const char* section, const char* key, const std::string& value) {
    return WritePrivateProfileStringW(AnsiToUtf16(section).c_str(), AnsiToUtf16(key).c_str(),
                                      AnsiToUtf16(value).c_str(), Utf8ToWide(file).c_str()) != FALSE;
}

void ClearProbeFirstSetting() {
    CLobbyData& hub = GetLobbyData();
    {
        LobbyLockGuard guard(hub.lobbyLock);
        hub.timeText[3] = "0";
        hub.timeValue[3] = 0;
    }
    WriteProfileText(hub.GetConfigFile(), "SYSTEM", "time4", "0");
}

// ---- ServerConfig ---------------------------------------------------------------

ServerConfig& GetServerConfig() {
    static ServerConfig* const config = new ServerConfig();  // threads may outlive static destruction
    return *config;
}

void ServerConfig::SetFiles(const Files& files) {
    std::lock_guard<std::mutex> guard(mutex_);
    files_ = files;
    filesSet_ = true;
}

ServerConfig::Files ServerConfig::GetFiles() {
    std::lock_guard<std::mutex> guard(mutex_);
    return FilesLocked();
}

ServerConfig::Files ServerConfig::FilesLocked() {
    if (!filesSet_) {
        files_.serverAddr = JoinString(CString(GetProgramFolder()), "serveraddr.ini").str();
        files_.updaterRead = "./updater/config.ini";
        files_.updaterWrite = AnsiToUtf8(GetLobbyData().GetWorkDir()) + "\\Updater\\config.ini";
        filesSet_ = true;
    }
    return files_;
}

bool ServerConfig::Load() {
    CLobbyData& hub = GetLobbyData();
    std::string versionXml, ping;
    {
        LobbyLockGuard guard(hub.lobbyLock);
        versionXml = hub.versionxml.substr(0, 1023);
        ping = hub.ping;
    }
    {
        std::lock_guard<std::mutex> guard(mutex_);
        loaded_ = 0;
    }
    XMLTextReader reader;
    if (!ReadXmlText(reader, versionXml) || !reader.Read()) return false;
    const std::vector<std::string> entry = AttributeValues(reader, 2);
    if (entry.size() < 2) return false;
    if (!LoadServerAddr() || !LoadUpdaterConfig()) return false;

    std::lock_guard<std::mutex> guard(mutex_);
    gameName_ = entry[0];
    version_ = entry[1];
    probeText_ = ping;
    loaded_ = 1;
    return true;
}

bool ServerConfig::LoadServerAddr() {
    const std::string file = GetFiles().serverAddr;
    const size_t sections = IniSectionCount(Utf8ToWide(file));
    const int count = StringToInt(ReadProfileText(file, "servercount", "count"));
    std::vector<ServerRecord> servers;
    for (int i = 1; i <= count && static_cast<size_t>(i) <= sections; ++i) {
        const std::string section = "server" + IntToString(i);
        ServerRecord record;
        record.name = ReadProfileText(file, section.c_str(), "m_strName");
        record.ip = ReadProfileText(file, section.c_str(), "m_strIP");
        record.port = ReadProfileText(file, section.c_str(), "m_strPort");
        record.comport = ReadProfileText(file, section.c_str(), "m_strComPort");
        record.netType = ReadProfileText(file, section.c_str(), "m_netType");
        servers.push_back(record);
    }
    if (servers.empty()) return false;

    srand(static_cast<unsigned>(time(nullptr)));
    const size_t n = servers.size();
    for (size_t j = 0; j < n; ++j) {
        int sum = rand() + 1000;
        if (sum < 0) sum = 1000;
        const size_t k = j + static_cast<size_t>(sum) % (n - j);
        std::swap(servers[j], servers[k]);
    }
    std::lock_guard<std::mutex> guard(mutex_);
    servers_.swap(servers);
    return true;
}

int ServerConfig::LoadUpdaterConfig() {
    const std::string text = ReadProfileText(GetFiles().updaterRead, "system", "system");
    XMLTextReader reader;
    if (!ReadXmlText(reader, text) || !reader.Read() || !reader.Read()) return 0;
    const std::vector<std::string> entry = AttributeValues(reader, 3);
    if (entry.size() < 3) return 0;
    std::lock_guard<std::mutex> guard(mutex_);
    ip_ = entry[0];
    port_ = entry[1];
    comport_ = entry[2];
    return 1;
}

bool ServerConfig::WriteUpdaterConfig(const ServerRecord& record) {
    XMLTextWriter writer;
    writer.WriteStartElement("config");
    writer.WriteStartElement("value");
    writer.WriteAttributeString("ip", record.ip);
    writer.WriteAttributeString("port", record.port);
    writer.WriteAttributeString("comport", record.comport);
    writer.WriteEndElement();
    writer.WriteEndElement();
    unsigned length = 0;
    std::unique_ptr<unsigned char[]> text(writer.GetXmlData(&length));
    return WriteProfileText(GetFiles().updaterWrite, "system", "system",
                            std::string(reinterpret_cast<const char*>(text.get()), length));
}

int ServerConfig::GetLobbyServer(std::string& ip, int& port, int& comport) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!loaded_) return 0;
    ip = ip_;
    port = atoi(port_.c_str());
    comport = atoi(comport_.c_str());
    return 1;
}

int ServerConfig::GetVersion(std::string& version, std::string& gameName) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!loaded_) return 0;
    version = version_;
    gameName = gameName_;
    return 1;
}

int ServerConfig::GetServerList(std::vector<ServerRecord>& servers) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!loaded_) return 0;
    servers = servers_;
    return static_cast<int>(servers_.size());
}

int ServerConfig::GetProbeText(std::string& text) {
    std::lock_guard<std::mutex> guard(mutex_);
    text = probeText_;
    return 1;
}

bool ServerConfig::IsLoaded() {
    std::lock_guard<std::mutex> guard(mutex_);
    return loaded_ != 0;
}
