// The lobby's servers: the list in serveraddr.ini beside the program, the
// server last chosen (an XML entry in the config.ini that the lobby shares with
// the outside updater) and the client version sent at login. One ServerConfig
// serves the whole program (GetServerConfig); the engine step loads it through
// the data hub's Init. Its members are guarded by its own lock, so the login
// and interface threads may read while a reload writes.
#pragma once

#include <mutex>
#include <string>
#include <vector>


struct ServerRecord {
    std::string name;
    std::string ip;
    std::string port;
    std::string comport;  // the lobby engine connects to ip:comport
    std::string netType;
};

class ServerConfig {
public:
    // The files it reads and writes (UTF-8 paths). By default serveraddr.ini in
    // the program's folder, the chosen-server entry read from
    // ./updater/config.ini and written to Updater\config.ini under the
    // working directory noted at start-up.
    struct Files {
        std::string serverAddr;
        std::string updaterRead;
        std::string updaterWrite;
    };
    void SetFiles(const Files& files);
    Files GetFiles();

    // The version entry, the server list, the chosen-server entry and the
    // probe text, stopping at the first that fails; true when all loaded.
    bool Load();
    // Reads the server list again; false when it holds no record.
    bool LoadServerAddr();
    // Reads the chosen-server entry again; the old one stays when it fails.
    int LoadUpdaterConfig();
    // Writes ip, port and comport of the record as the chosen-server entry.
    bool WriteUpdaterConfig(const ServerRecord& record);

    // The chosen server; 0 when not loaded.
    int GetLobbyServer(std::string& ip, int& port, int& comport);
    int GetVersion(std::string& version, std::string& gameName);
    // A copy of the list; the number of records (0 when not loaded).
    int GetServerList(std::vector<ServerRecord>& servers);
    int GetProbeText(std::string& text);
    bool IsLoaded();

private:
    Files FilesLocked();

    std::mutex mutex_;
    bool filesSet_ = false;
    Files files_;
    std::string version_;
    std::string gameName_;
    std::string ip_;
    std::string port_;
    std::string comport_;
    std::string probeText_;
    std::vector<ServerRecord> servers_;
    int loaded_ = 0;
};

// The program's one ServerConfig, made on first use.
ServerConfig& GetServerConfig();

// ---- helpers of the start-up steps ---------------------------------------------

// One value of an ini file (UTF-8 path) through a 512-character buffer, as
// 8-bit text; "" when missing.
std::string ReadProfileText(const std::string& file, const char* section, const char* key);
bool WriteProfileText(const std::string& file, const char* section, const char* key, const std::string& value);


// Sets the hub's time4 setting to 0 (number and text) and writes
// [SYSTEM] time4 = "0" into the lobby's config.ini.
void ClearProbeFirstSetting();
