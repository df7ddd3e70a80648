// Registration of the recording control (see RecordingControl.h).
#include <windows.h>

#include <shlwapi.h>

#include <string>

#include "tests/support/recording/RecordingControl.h"

namespace {

std::string ClsidText(const CLSID& clsid) {
    wchar_t wide[64];
    StringFromGUID2(clsid, wide, 64);
    char text[64];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

bool SetValue(const std::string& key, const char* name, const std::string& value) {
    HKEY k;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

}  // namespace

bool RegisterRecordingControl(const CLSID& clsid, const char* progId, const std::string& dllPath) {
    std::string key = "CLSID\\" + ClsidText(clsid);
    bool ok = SetValue(key + "\\InprocServer32", nullptr, dllPath) &&
              SetValue(key + "\\InprocServer32", "ThreadingModel", "Apartment");
    if (progId) ok = ok && SetValue(std::string(progId) + "\\CLSID", nullptr, ClsidText(clsid));
    return ok;
}

void UnregisterRecordingControl(const CLSID& clsid, const char* progId) {
    SHDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + ClsidText(clsid)).c_str());
    if (progId) SHDeleteKeyA(HKEY_CLASSES_ROOT, progId);
}
