// The application's binary settings in the registry.
#include <windows.h>

#include <cstring>

#include "platform/App.h"

namespace {

// HKCU\Software\<key>\<program>\<section>, opened for reading or created.
HKEY OpenSection(const CWinApp& app, LPCSTR section, bool create) {
    CString path = "Software\\";
    if (!app.GetRegistryKey().IsEmpty()) path += app.GetRegistryKey() + "\\";
    path += app.m_pszAppName ? app.m_pszAppName : "App";
    path += "\\";
    path += section;
    HKEY key = nullptr;
    const LONG rc = create ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)
                           : ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes) {
    if (!data || !bytes) return FALSE;
    *data = nullptr;
    *bytes = 0;
    HKEY key = OpenSection(*this, section, false);
    if (!key) return FALSE;
    DWORD type = 0, size = 0;
    BOOL ok = FALSE;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_BINARY) {
        *data = new BYTE[size ? size : 1];
        if (::RegQueryValueExA(key, entry, nullptr, &type, *data, &size) == ERROR_SUCCESS) {
            *bytes = size;
            ok = TRUE;
        } else {
            delete[] *data;
            *data = nullptr;
        }
    }
    ::RegCloseKey(key);
    return ok;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes) {
    HKEY key = OpenSection(*this, section, true);
    if (!key) return FALSE;
    const LONG rc = ::RegSetValueExA(key, entry, 0, REG_BINARY, data, bytes);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
