// What the Brenwick tests share: the DLL loaded by path, a fake browser site
// whose connection point records Advise and Unadvise, a BeforeNavigate2 event
// of seven arguments, registry reading and regsvr32.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace brenwicktest {

// Brenwick.dll beside the tests, loaded for the test's lifetime.
struct BrenwickDll {
    BrenwickDll();
    ~BrenwickDll();
    std::string path;
    HMODULE module = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;
};

class FakeConnectionPoint : public IConnectionPoint {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(GetConnectionInterface)(IID* iid) override;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer**) override { return E_NOTIMPL; }
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) override;
    STDMETHOD(Unadvise)(DWORD cookie) override;
    STDMETHOD(EnumConnections)(IEnumConnections**) override { return E_NOTIMPL; }

    ULONG refs = 0;
    HRESULT adviseResult = S_OK;
    int advises = 0;
    std::vector<DWORD> unadvised;
    IDispatch* sink = nullptr;  // held between Advise and Unadvise
};

// The browser as the helper sees it: only IUnknown is ever called on its
// IWebBrowser2, so the container's vtable serves for that too.
class FakeBrowser : public IConnectionPointContainer {
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHOD(FindConnectionPoint)(REFIID iid, IConnectionPoint** out) override;

    ULONG refs = 1;  // the test's own
    bool isBrowser = true;
    FakeConnectionPoint point;
};

// BeforeNavigate2 as the browser fires it: rgvarg[5] the url by reference,
// rgvarg[0] the cancel flag by reference.
struct NavigateEvent {
    explicit NavigateEvent(const std::wstring& url);
    ~NavigateEvent();
    NavigateEvent(const NavigateEvent&) = delete;
    NavigateEvent& operator=(const NavigateEvent&) = delete;
    VARIANT args[7];
    VARIANT url;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    DISPPARAMS params;
};

bool ReadString(HKEY root, const std::string& key, const char* name, std::string& value);
bool ReadDword(HKEY root, const std::string& key, const char* name, DWORD& value);
bool KeyExists(HKEY root, const std::string& key);
// Runs a program of the prefix to its end; its exit code, or -1.
int RunProgram(const std::string& commandLine);
std::string ReadFileText(const std::string& path);

}  // namespace brenwicktest
