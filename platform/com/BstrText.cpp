#include "platform/com/BstrText.h"

BSTR AfxAllocBstr(LPCSTR text) {
    if (!text || !*text) return ::SysAllocString(L"");
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    BSTR bstr = n > 0 ? ::SysAllocStringLen(nullptr, static_cast<UINT>(n - 1)) : nullptr;
    if (bstr) ::MultiByteToWideChar(CP_ACP, 0, text, -1, bstr, n);
    return bstr;
}

CString AfxBstrText(BSTR bstr) {
    int wide = bstr ? static_cast<int>(::SysStringLen(bstr)) : 0;
    if (wide == 0) return CString();
    int n = ::WideCharToMultiByte(CP_ACP, 0, bstr, wide, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return CString();
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, bstr, wide, &out[0], n, nullptr, nullptr);
    return CString(out);
}

CString AfxVariantText(const VARIANT* value) {
    if (!value) return CString();
    VARIANT text;
    ::VariantInit(&text);
    CString result;
    if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(value), 0, VT_BSTR)))
        result = AfxBstrText(V_BSTR(&text));
    ::VariantClear(&text);
    return result;
}
