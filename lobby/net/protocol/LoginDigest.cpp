#include "lobby/net/protocol/LoginDigest.h"

#include "lobby/net/protocol/Md5.h"
#include "platform/CString.h"

const char kLoginSalt[] = "quillsap";

std::string NormalizeLoginName(const std::string& name) {
    CString text(name);
    text.TrimRight();
    text.MakeLower();
    return text.str();
}

std::string MakeStoredDigest(const std::string& password, bool commandLineLogin) {
    if (commandLineLogin) return password;
    CString digest(CMD5().GetDigestString(password + kLoginSalt));
    digest.MakeUpper();
    return digest.str();
}

std::string MakeLoginTicket(const std::string& storedDigest, const std::string& loginKey) {
    CMD5 md5;
    const std::string inner = md5.GetDigestString(storedDigest + kLoginSalt);
    return md5.GetDigestString(inner + loginKey);
}
