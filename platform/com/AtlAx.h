// ActiveX hosting through atl.dll, loaded at run time: the "AtlAxWin" window
// class and the calls that put a control into such a window.
#pragma once

#include <windows.h>

#include <unknwn.h>

// Loads atl.dll and registers the "AtlAxWin" class once per process; FALSE
// when the library or its entry points are missing.
BOOL AfxAtlAxWinInit();
// Puts control into the "AtlAxWin" window hWnd (atl's AtlAxAttachControl).
// The container (the control's site) is given back AddRef'ed: keep it while
// the control is hosted, as Wine's atl lets the control go with its last reference.
HRESULT AfxAtlAxAttachControl(IUnknown* control, HWND hWnd, IUnknown** container);
// The control hosted in an "AtlAxWin" window, AddRef'ed (atl's AtlAxGetControl).
HRESULT AfxAtlAxGetControl(HWND hWnd, IUnknown** control);
