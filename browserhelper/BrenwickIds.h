// Identifiers of Brenwick.dll and its dual interface.
#pragma once

#include <windows.h>
#include <oaidl.h>

extern const CLSID CLSID_IBrenwick;
extern const IID IID_IIBrenwick;
extern const GUID LIBID_BrenwickLib;
extern const char kBrenwickAppId[];

// The dual interface of the type library; it adds no members to IDispatch.
struct IIBrenwick : public IDispatch {};
