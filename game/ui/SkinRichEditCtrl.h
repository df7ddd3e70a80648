// CSkinRichEditCtrl: the table's chat history. Its system scroll bars are
// hidden and replaced by picture bars in its parent; its scroll range in
// lines is kept from EN_REQUESTRESIZE; a clicked web link opens with the
// shell; embedded objects get sub-storages of one temporary compound file.
#pragma once

#include "game/ui/SkinEditScrollbars.h"
#include "platform/Framework.h"

class CxImage;

class CSkinRichEditCtrl : public CRichEditCtrl {
public:
    CSkinRichEditCtrl();
    ~CSkinRichEditCtrl() override;

    // pictures: vertical top, up, span, down, bottom, thumb; horizontal
    // left, span, right, thumb (10, may be null). Bars are made for the
    // scroll styles the control has.
    void AttachSkin(CxImage* const* pictures);
    void PlaceBars();
    void RefreshBars();
    // How many lines the first visible line can still move down; 0 when everything fits.
    int ScrollRange() const { return m_scrollRange; }
    void PageDown();
    void PageUp();

    CSkinVScrollbar& VerticalBar() { return m_vbar; }
    CSkinHScrollbar& HorizontalBar() { return m_hbar; }
    // The callback given to the control; null when its storage could not be made.
    IRichEditOleCallback* OleCallback() { return m_callback.root ? &m_callback : nullptr; }
    BOOL CallbackRegistered() const { return m_callbackRegistered; }

    // Storages for embedded objects: "REOLEStorage<n>" in one root storage.
    class XOleCallback : public IRichEditOleCallback {
    public:
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
        STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
        STDMETHODIMP GetNewStorage(LPSTORAGE* storage) override;
        STDMETHODIMP GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*, LPOLEINPLACEFRAMEINFO) override {
            return S_OK;
        }
        STDMETHODIMP ShowContainerUI(BOOL) override { return S_OK; }
        STDMETHODIMP QueryInsertObject(LPCLSID, LPSTORAGE, LONG) override { return S_OK; }
        STDMETHODIMP DeleteObject(LPOLEOBJECT) override { return S_OK; }
        STDMETHODIMP QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) override { return S_OK; }
        STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
        STDMETHODIMP GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) override { return E_NOTIMPL; }
        STDMETHODIMP GetDragDropEffect(BOOL, DWORD, LPDWORD) override { return S_OK; }
        STDMETHODIMP GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU* menu) override {
            if (menu) *menu = nullptr;
            return S_OK;
        }

        int refs = 0;
        IStorage* root = nullptr;
        int storages = 0;
    };

protected:
    void PreSubclassWindow() override;
    void RegisterCallback();
    int OnCreate(LPCREATESTRUCT cs);
    void OnRequestResize(NMHDR* nm, LRESULT* result);
    void OnVScrollNotify() { m_vbar.Refresh(); }
    void OnHScrollNotify() { m_hbar.Refresh(); }
    void OnChange();
    void OnLink(NMHDR* nm, LRESULT* result);
    void OnResultZero(NMHDR*, LRESULT* result) { *result = 0; }
    void OnUpdate() {}
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }

    CSkinVScrollbar m_vbar;
    CSkinHScrollbar m_hbar;
    int m_scrollRange = 0;
    int m_requestWidth = 0;
    int m_spare = 0;
    DWORD m_createStyle = 0;  // the scroll styles asked for, kept when the control drops them
    BOOL m_callbackRegistered = FALSE;
    XOleCallback m_callback;

    DECLARE_MESSAGE_MAP()
};
