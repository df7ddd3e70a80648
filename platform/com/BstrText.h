// BSTR and VARIANT text in the program's 8-bit code page (CP_ACP).
#pragma once

#include <windows.h>

#include <oleauto.h>

#include "platform/CString.h"

// A new BSTR holding text (null text gives an empty BSTR); free with SysFreeString.
BSTR AfxAllocBstr(LPCSTR text);
// The text of a BSTR; a null BSTR is empty.
CString AfxBstrText(BSTR bstr);
// The text of a VARIANT of any type that converts to a string (by reference
// too); empty when it does not convert.
CString AfxVariantText(const VARIANT* value);
