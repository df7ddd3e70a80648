// The plain rules of the lobby's start-up and login dialogs: the command-line
// scanner, the user-name test, the server-line radio table and the readers of
// the login notice and the version text. No window here.
#pragma once

#include <string>

// What the command line asks for.
struct LobbyCommandLine {
    enum Kind { kNormal, kRegister, kAutoLogin };
    Kind kind = kNormal;
    std::string user;
    std::string password;  // the stored digest, used as it stands
};

// The two fields of "('first,second')" scanned from start: bytes before the
// first quote are skipped, a later quote in the first field is ignored, a comma
// switches to the second field and a quote there ends the scan.
void ScanQuotedFields(const std::string& text, size_t start, std::string& first, std::string& second);

// "reg" (exact) registers; "('user,password')" with both fields non-empty logs
// in from the command line; anything else starts normally.
LobbyCommandLine ScanLobbyCommandLine(const std::string& line);

// A user name the requests can carry: no byte above 0x80 (0x80 itself
// passes) and no '"', '<' or '>', which would break the documents it goes in.
bool IsLoginNameText(const std::string& text);

// Cuts trailing 0x20 only; leading blanks and other white space stay.
std::string CutTrailingBlanks(const std::string& text);

// A server-line radio button (ids 1033 to 1036) and what choosing it writes.
struct ServerLineChoice {
    bool known = false;         // false: none checked, nothing changes
    const char* svrSelect = "";  // [SYSTEM] SvrSelect
    int serverLine = 0;         // the lobby data's server line
    bool setsTime4Flag = false;  // 1033 leaves the flag as it was
};
ServerLineChoice ServerLineForRadio(int radioId);

// The radio for a SvrSelect value, 0 for none.
int RadioForServerSelect(int svrSelect);

// The login notice, read by position.
struct LoginNotice {
    int type = 0;
    int blocking = 0;
    std::string bannerText;
    std::string url;
    int width = 0;
    int height = 0;
    bool postsBanner() const { return type == 1 || type == 3 || type == 4; }
    bool opensBrowser() const { return type == 2 || type == 3 || type == 4; }
    // After blocking: true keeps the dialog (as a tool window for type 2).
    bool keepsDialog() const { return blocking != 1 || type == 2; }
};
// False for a malformed document (which lets the login go on).
bool ReadLoginNotice(const std::string& document, LoginNotice& notice);

// The version out of the [SYSTEM] versionxml text: the second attribute of the
// first element, or empty.
std::string VersionFromXml(const std::string& versionXml);
