// Registry scripts: the text of a "REGISTRY" resource read into a tree of keys.
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {...} = s 'Some Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Roots are HKCR, HKLM, HKCU, HKU (or their HKEY_ names). A key is a bare word
// or a quoted string (no backslash), optionally marked ForceRemove (deleted before it is
// written and deleted whole on removal) or NoRemove (never deleted), with an
// optional default value and an optional body of subkeys and named values
// ("val Name = d '1'"). Values are s (string) or d (DWORD, decimal or 0x hex).
// Quoted strings double a quote ('it''s'). %NAME% is replaced in names and
// values from the replacement list (names compared without case); %% is '%'.
// Portable: no windows.h.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum class RegHive { ClassesRoot, LocalMachine, CurrentUser, Users };

struct RegScriptValue {
    enum Type { String, Dword };
    std::string name;  // empty for a key's default value
    Type type = String;
    std::string text;     // String
    uint32_t number = 0;  // Dword
};

struct RegScriptKey {
    enum Removal { Normal, ForceRemove, NoRemove };
    std::string name;
    Removal removal = Normal;
    bool hasDefault = false;
    RegScriptValue defaultValue;
    std::vector<RegScriptValue> values;
    std::vector<RegScriptKey> subkeys;
};

struct RegScriptRoot {
    RegHive hive = RegHive::ClassesRoot;
    std::vector<RegScriptKey> keys;
};

using RegReplacements = std::vector<std::pair<std::string, std::string>>;

struct RegScript {
    std::vector<RegScriptRoot> roots;
};

// Reads a whole script. On failure returns false and says why and where in error.
bool ReadRegScript(const std::string& text, const RegReplacements& replacements, RegScript& script,
                   std::string& error);
