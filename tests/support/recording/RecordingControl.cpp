// The recording control's server (see RecordingControl.h).
#include "tests/support/recording/RecordingControl.h"

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const GUID kEventsIid = {0x6E0B5D12, 0x3C2A, 0x4F7E, {0x9A, 0x41, 0x52, 0xD8, 0xC3, 0xE1, 0xB7, 0x00}};
const GUID kCoclass = {0x6E0B5D13, 0x3C2A, 0x4F7E, {0x9A, 0x41, 0x52, 0xD8, 0xC3, 0xE1, 0xB7, 0x00}};

HMODULE g_module = nullptr;
LONG g_objects = 0;

std::string ArgText(VARIANT& arg) {
    char head[16];
    std::snprintf(head, sizeof head, "[%x:", V_VT(&arg));
    VARIANT text;
    VariantInit(&text);
    std::string value;
    if (SUCCEEDED(VariantChangeType(&text, &arg, 0, VT_BSTR)) && V_BSTR(&text)) {
        int n = WideCharToMultiByte(CP_ACP, 0, V_BSTR(&text), -1, nullptr, 0, nullptr, nullptr);
        value.resize(n > 0 ? n : 1);
        WideCharToMultiByte(CP_ACP, 0, V_BSTR(&text), -1, &value[0], n, nullptr, nullptr);
        value.resize(value.size() - 1);
    }
    VariantClear(&text);
    return head + value + "]";
}

void LogLine(const std::string& line) {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("MIRABO_RECORDING_LOG", path, MAX_PATH);
    FILE* f = n > 0 && n < MAX_PATH ? std::fopen(path, "ab") : nullptr;
    if (!f) return;
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
}

void Log(DISPID dispid, WORD flags, DISPPARAMS* params) {
    std::string line = std::to_string(dispid) + " " + std::to_string(flags) + " ";
    for (UINT i = params ? params->cArgs : 0; i > 0; --i) line += ArgText(params->rgvarg[i - 1]);
    LogLine(line);
}

// One object with every interface the host and the tests ask for. The
// connection point keeps its sinks in a list of cookies.
class Recorder : public IDispatch,
                 public IProvideClassInfo2,
                 public IConnectionPointContainer,
                 public IConnectionPoint,
                 public IOleObject {
public:
    Recorder() { InterlockedIncrement(&g_objects); }
    virtual ~Recorder() {
        for (IDispatch* s : sinks_)
            if (s) s->Release();
        if (site_) site_->Release();
        InterlockedDecrement(&g_objects);
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *out = static_cast<IDispatch*>(this);
        else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
            *out = static_cast<IProvideClassInfo2*>(this);
        else if (iid == IID_IConnectionPointContainer)
            *out = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IConnectionPoint)
            *out = static_cast<IConnectionPoint*>(this);
        else if (iid == IID_IOleObject)
            *out = static_cast<IOleObject*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        Log(dispid, flags, params);
        UINT n = params ? params->cArgs : 0;
        if (dispid == kRecordingFire && n >= 1) {
            VARIANT id;
            VariantInit(&id);
            if (FAILED(VariantChangeType(&id, &params->rgvarg[n - 1], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            DISPPARAMS rest = {n > 1 ? params->rgvarg : nullptr, nullptr, n - 1, 0};
            std::vector<IDispatch*> sinks = sinks_;
            for (IDispatch* s : sinks)
                if (s) s->Invoke(V_I4(&id), IID_NULL, 0, DISPATCH_METHOD, &rest, nullptr, nullptr, nullptr);
            return S_OK;
        }
        if (result) {
            VariantInit(result);
            if (n > 0 && !(flags & DISPATCH_PROPERTYPUT)) return VariantCopyInd(result, &params->rgvarg[n - 1]);
            V_VT(result) = VT_I4;
            V_I4(result) = dispid;
        }
        return S_OK;
    }

    // IProvideClassInfo2: the class's type information from our own type library.
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
        *info = nullptr;
        wchar_t path[MAX_PATH];
        if (!GetModuleFileNameW(g_module, path, MAX_PATH)) return E_FAIL;
        ITypeLib* lib = nullptr;
        HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &lib);
        if (FAILED(hr)) return hr;
        hr = lib->GetTypeInfoOfGuid(kCoclass, info);
        lib->Release();
        return hr;
    }
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
        *guid = kEventsIid;
        return S_OK;
    }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        *point = nullptr;
        if (iid != kEventsIid) return CONNECT_E_NOCONNECTION;
        *point = this;
        AddRef();
        return S_OK;
    }

    // IConnectionPoint: cookie n is sinks_[n - 1].
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
        *iid = kEventsIid;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** c) override {
        *c = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        IDispatch* d = nullptr;
        if (!sink || FAILED(sink->QueryInterface(kEventsIid, reinterpret_cast<void**>(&d))))
            return CONNECT_E_CANNOTCONNECT;
        sinks_.push_back(d);
        *cookie = static_cast<DWORD>(sinks_.size());
        return S_OK;
    }
    // Also IOleObject::Unadvise, whose cookies (from its Advise) are never given out.
    STDMETHODIMP Unadvise(DWORD cookie) override {
        if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
        sinks_[cookie - 1]->Release();
        sinks_[cookie - 1] = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // IOleObject: enough for a host to embed the object.
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        if (site) LogLine("site");  // the host attaches the object
        if (site) site->AddRef();
        if (site_) site_->Release();
        site_ = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        *site = site_;
        if (site_) site_->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override { return S_OK; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        *status = 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

private:
    LONG refs_ = 1;
    std::vector<IDispatch*> sinks_;
    IOleClientSite* site_ = nullptr;
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Recorder* r = new Recorder;
        HRESULT hr = r->QueryInterface(iid, out);
        r->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

// Serves any class id: the test chose the one it registered.
extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID iid, void** out) {
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
