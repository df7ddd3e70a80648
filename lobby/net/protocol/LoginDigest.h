// The login digests. The password never leaves the machine: the login dialog
// keeps a salted digest of it, and the answer to the server's one-time login
// key is a digest of that digest and the key.
#pragma once

#include <string>

extern const char kLoginSalt[];  // "quillsap"

// The user name as the lobby keeps and sends it: trailing blanks removed,
// lower case.
std::string NormalizeLoginName(const std::string& name);

// 32 upper-case hexadecimal digits: the digest of password + salt. After a
// command-line login the password field already holds the digest and is kept
// as it stands, whatever it is.
std::string MakeStoredDigest(const std::string& password, bool commandLineLogin);

// 32 lower-case hexadecimal digits: digest(digest(stored + salt) + key), with
// the key exactly as received.
std::string MakeLoginTicket(const std::string& storedDigest, const std::string& loginKey);
