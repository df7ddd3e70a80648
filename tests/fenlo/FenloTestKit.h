// Helpers of the card-game client's tests: a scratch folder laid out as the
// client's working directory, server messages as XML documents and binary
// packets, and a small code table for the binary form.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

namespace fenlo_test {

// The codes of the binary form in the tests' code table.
enum Code { kValidate = 40, kValidateSuccess = 41, kAutoPlay = 42, kChuPai = 43, kBet = 44, kJiaoFen = 45 };

inline std::string CodeTableIni() {
    const std::pair<int, const char*> rows[] = {{kValidate, "PlayerInfoValidate"}, {kValidateSuccess, "ValidateSuccess"},
                                                {kAutoPlay, "AutoPlay"},           {kChuPai, "ChuPai"},
                                                {kBet, "Bet"},                     {kJiaoFen, "JiaoFen"}};
    std::string ini = "[TotalMessageNum]\r\ncount=6\r\n";
    int i = 0;
    for (const auto& r : rows)
        ini += "[message" + std::to_string(++i) + "]\r\nid=" + std::to_string(r.first) + "\r\nname=" + r.second +
               "\r\n";
    return ini;
}

inline const char* kVersionSetting = "<Version name=\"FENLO\" value=\"2.3.4.5\"/>";

// A fresh folder under the temporary folder with a subfolder fenlo, removed
// with everything in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "mirabo_" + name + "_" + std::to_string(GetCurrentProcessId());
        Remove(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
        CreateDirectoryA((path_ + "\\fenlo").c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& file) const { return path_ + "\\" + file; }

    void Write(const std::string& file, const std::string& bytes) const {
        if (FILE* f = std::fopen((*this / file).c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    std::string Read(const std::string& file) const {
        std::string bytes;
        if (FILE* f = std::fopen((*this / file).c_str(), "rb")) {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
            std::fclose(f);
        }
        return bytes;
    }
    // fenlo\config.ini with the send type and, unless null, the version.
    void WriteConfig(int sendType, const char* version = kVersionSetting) const {
        std::string ini = "[SYSTEM]\r\nsendtype=" + std::to_string(sendType) + "\r\n";
        if (version) ini += std::string("version=") + version + "\r\n";
        Write("fenlo\\config.ini", ini);
        Write("fenlo\\FENLOMsg.ini", CodeTableIni());
    }

private:
    static void Remove(const std::string& dir) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = dir + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    DeleteFileA(full.c_str());
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string path_;
};

// A message document as the server writes it.
inline std::string Doc(const std::string& name, const std::string& data = "") {
    const std::string head = "<GameMessage game=\"FENLO\"><Message name=\"" + name + "\"";
    return data.empty() ? head + "/></GameMessage>" : head + ">" + data + "</Message></GameMessage>";
}

// A binary packet: 1, code, 1, then each field as a 16-bit little-endian
// length and its bytes.
inline std::string Packet(int code, const std::vector<std::string>& fields) {
    std::string out = {1, static_cast<char>(code), 1};
    for (const std::string& f : fields) {
        out += static_cast<char>(f.size() & 0xFF);
        out += static_cast<char>((f.size() >> 8) & 0xFF);
        out += f;
    }
    return out;
}

}  // namespace fenlo_test
