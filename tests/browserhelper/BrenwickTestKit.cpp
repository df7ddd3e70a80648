#include "tests/browserhelper/BrenwickTestKit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace brenwicktest {

namespace {

std::string FullPath(const char* name) {
    char full[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(name, sizeof full, full, nullptr);
    return std::string(full, n);
}

template <class F>
void Bind(HMODULE module, const char* name, F& f) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    EXPECT_NE(f, nullptr) << name;
}

}  // namespace

BrenwickDll::BrenwickDll() : path(FullPath("Brenwick.dll")), module(LoadLibraryA(path.c_str())) {
    EXPECT_NE(module, nullptr) << path;
    Bind(module, "DllCanUnloadNow", canUnloadNow);
    Bind(module, "DllGetClassObject", getClassObject);
    Bind(module, "DllRegisterServer", registerServer);
    Bind(module, "DllUnregisterServer", unregisterServer);
}

BrenwickDll::~BrenwickDll() {
    if (module) FreeLibrary(module);
}

HRESULT FakeConnectionPoint::QueryInterface(REFIID iid, void** out) {
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
    AddRef();
    *out = this;
    return S_OK;
}

HRESULT FakeConnectionPoint::GetConnectionInterface(IID* iid) {
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT FakeConnectionPoint::Advise(IUnknown* unknown, DWORD* cookie) {
    ++advises;
    if (FAILED(adviseResult)) return adviseResult;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink)))) return E_FAIL;
    *cookie = 0x5EED0000u + static_cast<DWORD>(advises);
    return S_OK;
}

HRESULT FakeConnectionPoint::Unadvise(DWORD cookie) {
    unadvised.push_back(cookie);
    if (sink) sink->Release();
    sink = nullptr;
    return S_OK;
}

HRESULT FakeBrowser::QueryInterface(REFIID iid, void** out) {
    *out = nullptr;
    const bool browser = isBrowser && IsEqualIID(iid, IID_IWebBrowser2);
    if (!browser && !IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPointContainer))
        return E_NOINTERFACE;
    AddRef();
    *out = this;
    return S_OK;
}

HRESULT FakeBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    *out = nullptr;
    if (!IsEqualIID(iid, DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
    point.AddRef();
    *out = &point;
    return S_OK;
}

NavigateEvent::NavigateEvent(const std::wstring& text) {
    for (VARIANT& v : args) VariantInit(&v);
    VariantInit(&url);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    V_VT(&args[5]) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&args[5]) = &url;
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    params = {args, nullptr, 7, 0};
}

NavigateEvent::~NavigateEvent() { VariantClear(&url); }

bool ReadString(HKEY root, const std::string& key, const char* name, std::string& value) {
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    const LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    value = buffer;
    return rc == ERROR_SUCCESS && type == REG_SZ;
}

bool ReadDword(HKEY root, const std::string& key, const char* name, DWORD& value) {
    DWORD size = sizeof value, type = 0;
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    const LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

int RunProgram(const std::string& commandLine) {
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process)) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace brenwicktest
