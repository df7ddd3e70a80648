// CFlashDlg: one Flash effect movie in a borderless pop-up laid over the
// table's client area, black keyed out so that only the movie's drawing
// shows. Without the Flash control the window closes itself.
#pragma once

#include <ocidl.h>

#include "game/ui/PanelResource.h"
#include "platform/Framework.h"
#include "platform/com/EventSinkMap.h"
#include "platform/com/OleControlWnd.h"

// The Flash control's class and the DISPIDs the client uses.
namespace flash {
extern const CLSID kClsid;  // {D27CDB6E-AE6D-11CF-96B8-444553540000}
constexpr DISPID kMovie = 0x66;
constexpr DISPID kLoop = 0x6A;
constexpr DISPID kBackgroundColor = 0x7B;
constexpr DISPID kWMode = 0x85;
constexpr DISPID kFSCommand = 0x96;  // event (command, args)
}  // namespace flash

class CFlashDlg : public CDialog {
public:
    enum { IDD = IDD_FLASH_EFFECT, kHostId = 1 };

    CFlashDlg(LPCSTR moviePath, CWnd* parent);
    ~CFlashDlg() override;

    // True while the movie's control is hosted.
    bool HasControl() const { return m_host.GetControlDispatch() != nullptr; }
    COleControlWnd& Host() { return m_host; }
    const CString& MoviePath() const { return m_moviePath; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    LRESULT OnCloseSelf(WPARAM, LPARAM);
    void PlaceOverParent();
    // Scripts in the movie cannot command the client.
    void OnFSCommand(LPCSTR, LPCSTR) {}

    COleControlWnd m_host;
    IViewObjectEx* m_viewObject = nullptr;
    CString m_moviePath;

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};
