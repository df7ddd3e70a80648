// Handlers for the events of a window's ActiveX controls, listed like the
// message maps in a static table of the window that owns the controls:
//
//   class CTableDlg : public CDialog {
//       void OnMovieCommand(LPCSTR command, LPCSTR args);
//       DECLARE_EVENTSINK_MAP()
//   };
//   BEGIN_EVENTSINK_MAP(CTableDlg, CDialog)
//       ON_EVENT(CTableDlg, 1054, 150, OnMovieCommand)
//   END_EVENTSINK_MAP()
//
// An entry matches the control's id and the event's DISPID. The handler's
// parameters are taken from the event's arguments in order and converted to
// the handler's types: LPCSTR (text in the program code page), long, int,
// short, double, bool, IDispatch*, VARIANT* (the argument itself) and
// VARIANT_BOOL* (a VT_BYREF|VT_BOOL argument, e.g. a cancel flag). An event
// with fewer arguments than the handler takes, or one that does not convert,
// reaches no handler. Handlers return void.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/Wnd.h"
#include "platform/com/BstrText.h"

typedef HRESULT (*AFX_EVENTTHUNK)(CCmdTarget* target, DISPPARAMS* params);

struct AFX_EVENTSINKMAP_ENTRY {
    UINT nCtrlID;  // 0 with a null thunk ends the table
    DISPID dispid;
    AFX_EVENTTHUNK pfn;
};

struct AFX_EVENTSINKMAP {
    const AFX_EVENTSINKMAP* pBaseMap;
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

// Runs the handler of target's map chain for the event of control ctrlId;
// DISP_E_MEMBERNOTFOUND when no entry matches.
HRESULT AfxDispatchControlEvent(CCmdTarget* target, UINT ctrlId, DISPID dispid, DISPPARAMS* params);

namespace afx_event {

// One converted event argument; Ok() is false when it does not convert.
template <typename T>
struct Arg;

template <typename T>
struct ValueArg {
    ValueArg(const ValueArg&) = delete;
    ValueArg& operator=(const ValueArg&) = delete;
    VARIANT v;
    bool ok;
    ValueArg(VARIANT& in, VARTYPE vt) {
        ::VariantInit(&v);
        ok = SUCCEEDED(::VariantChangeType(&v, &in, 0, vt));
    }
    ~ValueArg() { ::VariantClear(&v); }
    bool Ok() const { return ok; }
};

template <>
struct Arg<long> : ValueArg<long> {
    explicit Arg(VARIANT& in) : ValueArg(in, VT_I4) {}
    long Get() const { return V_I4(&v); }
};
template <>
struct Arg<int> : ValueArg<int> {
    explicit Arg(VARIANT& in) : ValueArg(in, VT_I4) {}
    int Get() const { return static_cast<int>(V_I4(&v)); }
};
template <>
struct Arg<short> : ValueArg<short> {
    explicit Arg(VARIANT& in) : ValueArg(in, VT_I2) {}
    short Get() const { return V_I2(&v); }
};
template <>
struct Arg<double> : ValueArg<double> {
    explicit Arg(VARIANT& in) : ValueArg(in, VT_R8) {}
    double Get() const { return V_R8(&v); }
};
template <>
struct Arg<bool> : ValueArg<bool> {
    explicit Arg(VARIANT& in) : ValueArg(in, VT_BOOL) {}
    bool Get() const { return V_BOOL(&v) != VARIANT_FALSE; }
};
template <>
struct Arg<LPCSTR> : ValueArg<LPCSTR> {
    CString text;
    explicit Arg(VARIANT& in) : ValueArg(in, VT_BSTR) {
        if (ok) text = AfxBstrText(V_BSTR(&v));
    }
    LPCSTR Get() const { return text; }
};
template <>
struct Arg<IDispatch*> : ValueArg<IDispatch*> {
    explicit Arg(VARIANT& in) : ValueArg(in, VT_DISPATCH) {}
    IDispatch* Get() const { return V_DISPATCH(&v); }
};
template <>
struct Arg<VARIANT*> {
    VARIANT* p;
    explicit Arg(VARIANT& in) : p(V_VT(&in) == (VT_BYREF | VT_VARIANT) ? V_VARIANTREF(&in) : &in) {}
    bool Ok() const { return p != nullptr; }
    VARIANT* Get() const { return p; }
};
template <>
struct Arg<VARIANT_BOOL*> {
    VARIANT_BOOL* p;
    explicit Arg(VARIANT& in) : p(V_VT(&in) == (VT_BYREF | VT_BOOL) ? V_BOOLREF(&in) : nullptr) {}
    bool Ok() const { return p != nullptr; }
    VARIANT_BOOL* Get() const { return p; }
};

template <typename T>
using Decay = std::remove_cv_t<std::remove_reference_t<T>>;

// DISPPARAMS hold the arguments last first: argument i is rgvarg[cArgs - 1 - i].
template <typename C, typename... A, size_t... I>
HRESULT Call(C* target, void (C::*fn)(A...), DISPPARAMS* params, std::index_sequence<I...>) {
    std::tuple<Arg<Decay<A>>...> args(params->rgvarg[params->cArgs - 1 - I]...);
    bool ok = (true && ... && std::get<I>(args).Ok());
    if (!ok) return DISP_E_TYPEMISMATCH;
    (target->*fn)(std::get<I>(args).Get()...);
    return S_OK;
}

template <typename C, typename... A>
HRESULT Invoke(CCmdTarget* target, void (C::*fn)(A...), DISPPARAMS* params) {
    if (sizeof...(A) > 0 && (!params || params->cArgs < sizeof...(A) || !params->rgvarg)) return DISP_E_BADPARAMCOUNT;
    return Call(static_cast<C*>(target), fn, params, std::index_sequence_for<A...>{});
}

}  // namespace afx_event

#define DECLARE_EVENTSINK_MAP() \
public:                         \
    const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { \
        using ThisClass [[maybe_unused]] = theClass;            \
        using TheEventBase = baseClass;                         \
        static const AFX_EVENTSINKMAP_ENTRY entries[] = {
#define ON_EVENT(theClass, id, dispid, fn)               \
    {static_cast<UINT>(id), static_cast<DISPID>(dispid), \
     [](CCmdTarget* t, DISPPARAMS* p) { return afx_event::Invoke(t, &theClass::fn, p); }},
#define END_EVENTSINK_MAP()                                                               \
    { 0, 0, nullptr }                                                                     \
    }                                                                                     \
    ;                                                                                     \
    static const AFX_EVENTSINKMAP map = {this->TheEventBase::GetEventSinkMap(), entries}; \
    return &map;                                                                          \
    }
