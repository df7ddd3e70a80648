#include "platform/comserver/Registrar.h"

#include <string>

namespace {

HKEY HiveKey(RegHive hive) {
    switch (hive) {
    case RegHive::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegHive::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegHive::CurrentUser: return HKEY_CURRENT_USER;
    case RegHive::Users: return HKEY_USERS;
    }
    return HKEY_CLASSES_ROOT;
}

HRESULT FromWin32(LONG error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

// Deletes a key with everything below it; a key that is not there is no error.
LONG DeleteTree(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS) return rc;
    char sub[256];
    for (DWORD size = sizeof sub; RegEnumKeyExA(key, 0, sub, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         size = sizeof sub) {
        rc = DeleteTree(key, sub);
        if (rc != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    return rc != ERROR_SUCCESS ? rc : RegDeleteKeyA(parent, name.c_str());
}

LONG SetValue(HKEY key, const RegScriptValue& value) {
    const char* name = value.name.empty() ? nullptr : value.name.c_str();
    if (value.type == RegScriptValue::Dword) {
        const DWORD number = value.number;
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                          static_cast<DWORD>(value.text.size() + 1));
}

LONG WriteKey(HKEY parent, const RegScriptKey& script) {
    LONG rc = ERROR_SUCCESS;
    if (script.removal == RegScriptKey::ForceRemove) rc = DeleteTree(parent, script.name);
    HKEY key = nullptr;
    if (rc == ERROR_SUCCESS)
        rc = RegCreateKeyExA(parent, script.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    if (script.hasDefault) rc = SetValue(key, script.defaultValue);
    for (size_t i = 0; rc == ERROR_SUCCESS && i < script.values.size(); ++i) rc = SetValue(key, script.values[i]);
    for (size_t i = 0; rc == ERROR_SUCCESS && i < script.subkeys.size(); ++i) rc = WriteKey(key, script.subkeys[i]);
    RegCloseKey(key);
    return rc;
}

LONG RemoveKey(HKEY parent, const RegScriptKey& script) {
    if (script.removal == RegScriptKey::ForceRemove) return DeleteTree(parent, script.name);
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(parent, script.name.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (rc != ERROR_SUCCESS) return rc;
    for (size_t i = 0; rc == ERROR_SUCCESS && i < script.subkeys.size(); ++i) rc = RemoveKey(key, script.subkeys[i]);
    for (const RegScriptValue& value : script.values) RegDeleteValueA(key, value.name.c_str());
    if (script.removal == RegScriptKey::NoRemove) {
        RegCloseKey(key);
        return rc;
    }
    if (script.hasDefault) RegDeleteValueA(key, nullptr);
    DWORD subkeys = 0, values = 0;
    const LONG info = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                       nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (rc == ERROR_SUCCESS && info == ERROR_SUCCESS && subkeys == 0 && values == 0)
        rc = RegDeleteKeyA(parent, script.name.c_str());
    return rc;
}

}  // namespace

HRESULT ApplyRegScript(const RegScript& script, bool registering) {
    for (const RegScriptRoot& root : script.roots) {
        for (const RegScriptKey& key : root.keys) {
            const LONG rc = registering ? WriteKey(HiveKey(root.hive), key) : RemoveKey(HiveKey(root.hive), key);
            if (rc != ERROR_SUCCESS) return FromWin32(rc);
        }
    }
    return S_OK;
}

HRESULT UpdateRegistryFromResource(HINSTANCE module, UINT id, bool registering, const RegReplacements& replacements) {
    HRSRC found = FindResourceExA(module, "REGISTRY", MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    if (!found) found = FindResourceA(module, MAKEINTRESOURCEA(id), "REGISTRY");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    const std::string text(bytes, SizeofResource(module, found));

    char path[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameA(module, path, sizeof path);
    if (n == 0 || n >= sizeof path) return E_FAIL;
    RegReplacements all = replacements;
    all.emplace_back("MODULE", std::string(path, n));

    RegScript script;
    std::string error;
    if (!ReadRegScript(text, all, script, error)) return DISP_E_EXCEPTION;
    return ApplyRegScript(script, registering);
}
