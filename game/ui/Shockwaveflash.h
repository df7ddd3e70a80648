// CShockwaveflash: the Flash player control hosted as a child window, with the
// few calls the table makes on it by DISPID. Creation fails (FALSE, no window)
// where the control is not installed.
#pragma once

#include <windows.h>

#include "platform/com/OleControlWnd.h"

class CShockwaveflash : public COleControlWnd {
public:
    // {D27CDB6E-AE6D-11CF-96B8-444553540000}
    static const CLSID& GetClsid();

    enum {
        kDispMovie = 0x66,
        kDispPlay = 0x70,
        kDispClose = 0x71,  // method 113, called before the control goes
        kDispMenu = 0x87,
        kDispCallFunction = 0xC6,
        kDispFSCommand = 150,  // event: command, args
    };

    // The class name is the wrapper's own ("FLASH"); the control comes by class id.
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    HRESULT SetMovie(LPCSTR path);
    HRESULT Play();
    HRESULT SetMenu(BOOL on);
    HRESULT Close();
    // The movie's answer in *result; the call's HRESULT (the error of a
    // failed call is returned, never thrown).
    HRESULT CallFunction(LPCSTR request, CString* result);
};
