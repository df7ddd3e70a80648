// The lobby's skin: read once from Skin\Style1\Skin.ini, then asked by every
// lobby window for its colours, sizes, rectangles, bitmaps and images. It
// keeps what it hands out.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lobby/ui/BmpImageList.h"
#include "lobby/ui/EnBitmap.h"
#include "lobby/ui/FrameCache.h"
#include "lobby/ui/StringTable.h"
#include "platform/CString.h"
#include "platform/Types.h"

namespace Gdiplus {
class Image;
}

class CSkinRes {
public:
    CSkinRes();
    virtual ~CSkinRes();
    CSkinRes(const CSkinRes&) = delete;
    CSkinRes& operator=(const CSkinRes&) = delete;

    // 1 when every key was read; stops at the first failure, later keys keep
    // their values from before.
    int Load(LPCSTR path);
    // Load on a thread of its own, so that the start-up goes on meanwhile:
    // GetLobbySkin() waits until it has ended, so no window sees a skin half
    // read, and so does Release.
    void LoadInBackground(LPCSTR path);
    // Waits for a load in the background; returns at once when none runs,
    // and on the loading thread itself.
    void WaitLoaded();
    void Release();
    void SaveUserText(LPCSTR value);

    // Frame types 1 to 6; 0 for any other type. A type at a size is drawn
    // once; from then on its picture is copied (until the skin is loaded or
    // released again).
    int DrawFrame(CDC* dc, int left, int top, int right, int bottom, int type);
    // The same frame drawn afresh, as DrawFrame's picture is made.
    int DrawFrameDirect(CDC* dc, int left, int top, int right, int bottom, int type);
    // Counts the loads and releases: a picture made from the skin is stale
    // once this has moved on.
    unsigned Generation() const { return m_generation; }
    int DrawLogo(CDC* dc, int x, int y);
    void FillBk(CDC* dc, LPCRECT rect, int type);

    // Colours.
    COLORREF GetColorKey() const { return m_colorKey; }
    COLORREF GetTitleTextColor(BOOL active) const { return active ? m_titleText1 : m_titleText2; }
    COLORREF GetBkColor(int type) const;
    COLORREF GetTabColor(int type) const;
    COLORREF GetTabTextColor() const { return m_tabTextColor; }
    COLORREF GetRightBkColor1() const { return m_right[0]; }
    COLORREF GetRightBkColor2() const { return m_right[1]; }
    COLORREF GetRightTextColor1() const { return m_right[2]; }
    COLORREF GetRightTextColor2() const { return m_right[3]; }
    COLORREF GetRightTextBk1() const { return m_right[4]; }
    COLORREF GetRightTextBk2() const { return m_right[5]; }
    COLORREF GetLoginEditBkColor() const { return m_loginEditBk; }
    COLORREF GetLoginEditTextColor() const { return m_loginEditText; }
    COLORREF GetLoginTextColor() const { return m_loginText; }
    // Colour 0 outside the list.
    COLORREF GetListColor(int index) const;

    // Numbers.
    int GetTitleHeight() const { return m_titleHeight; }
    int GetBorderLeft() const { return m_borderLeft; }
    int GetBorderRight() const { return m_borderRight; }
    int GetBorderBottom() const { return m_borderBottom; }
    int GetStartBtnX() const { return m_startBtnX; }
    int GetStartBtnY() const { return m_startBtnY; }
    int GetExitBtnX() const { return m_exitBtnX; }
    int GetExitBtnY() const { return m_exitBtnY; }
    int GetWaitFrameCount() const { return m_waitFrames; }
    int GetWaitFrameTime() const { return m_waitFrameTime; }
    int GetTextCount() const { return m_textCount; }
    int GetStyleTextCount() const { return static_cast<int>(m_styleTexts.size()); }
    int GetImageCount() const { return m_btnCount; }

    CRect GetUserEditRect() const { return m_userEditRect; }
    CRect GetPassEditRect() const { return m_passEditRect; }
    CRect GetLoginInfoRect() const { return m_loginInfoRect; }
    CRect GetLoginWebRect() const { return m_loginWebRect; }
    const std::vector<CPoint>& GetButtonPoints() const { return m_btnPoints; }

    // Bitmaps: null unless loaded.
    CMyBitmap* GetBtnMaxImage() { return Loaded(m_btnMax); }
    CMyBitmap* GetBtnMinImage() { return Loaded(m_btnMin); }
    CMyBitmap* GetBtnCloseImage() { return Loaded(m_btnClose); }
    CMyBitmap* GetBtnNormalImage() { return Loaded(m_btnNormal); }
    CMyBitmap* GetDlgBgImage() { return Loaded(m_dlgBg); }
    CMyBitmap* GetDlgBorderTLImage() { return Loaded(m_border[5]); }
    CMyBitmap* GetDlgBorderTMImage() { return Loaded(m_border[6]); }
    CMyBitmap* GetDlgBorderTRImage() { return Loaded(m_border[7]); }
    CMyBitmap* GetDlgBorderLImage() { return Loaded(m_border[3]); }
    CMyBitmap* GetDlgBorderRImage() { return Loaded(m_border[4]); }
    CMyBitmap* GetDlgBorderBLImage() { return Loaded(m_border[0]); }
    CMyBitmap* GetDlgBorderBMImage() { return Loaded(m_border[1]); }
    CMyBitmap* GetDlgBorderBRImage() { return Loaded(m_border[2]); }
    CMyBitmap* GetTabBmp1Image() { return Loaded(m_tabBmp1); }
    CMyBitmap* GetTabBmp2Image() { return Loaded(m_tabBmp2); }
    CMyBitmap* GetLoginBkImage() { return Loaded(m_loginBk); }
    CMyBitmap* GetLoginBk2Image() { return &m_loginBk2; }
    CMyBitmap* GetPopMsgBk2Bitmap() { return &m_popBk2Bitmap; }
    HRGN GetPopMsgRegion() const { return m_popRegion; }

    // Images: null when not created.
    Gdiplus::Image* GetTreeTopImage() const { return m_tcTop; }
    Gdiplus::Image* GetDeskImage() const { return m_desk; }
    Gdiplus::Image* GetEmptySeatImage() const { return m_emptySeat; }
    Gdiplus::Image* GetStartImage() const { return m_start1; }
    Gdiplus::Image* GetStartImage2() const { return m_start2; }
    Gdiplus::Image* GetExitImage() const { return m_exit1; }
    Gdiplus::Image* GetExitImage2() const { return m_exit2; }
    Gdiplus::Image* GetBtnMiraboImage() const { return m_btnMirabo; }
    Gdiplus::Image* GetBtnPartnerImage() const { return m_btnPartner; }
    Gdiplus::Image* GetLoginBtnCloseImage() const { return m_loginClose; }
    Gdiplus::Image* GetBmpToLeft() const { return m_toLeft; }
    Gdiplus::Image* GetBmpToRight() const { return m_toRight; }
    Gdiplus::Image* GetWaitImage() const { return m_wait; }
    Gdiplus::Image* GetPopMsgBkImage() const { return m_popBk; }
    Gdiplus::Image* GetPopMsgCloseImage() const { return m_popClose; }
    Gdiplus::Image* GetPopMsgBk2Image() const { return m_popBk2; }
    Gdiplus::Image* GetPopMsgClose2Image() const { return m_popClose2; }
    Gdiplus::Image* GetTopBkImage() const { return m_topBk; }
    Gdiplus::Image* GetListTopImage() const { return m_listTop; }
    Gdiplus::Image* GetTabBkImage() const { return m_tabBk; }
    Gdiplus::Image* GetRoomTopImage() const { return m_roomTop; }
    Gdiplus::Image* GetLogoImage() const { return m_logo; }
    // The [png_btn] image of that index; null outside the list.
    Gdiplus::Image* GetImage(int index) const;
    // The seat image of that index (from 0); null outside the list.
    Gdiplus::Image* GetSeatImage(int index) const;

    // Texts.
    CString GetUserText() const { return m_userText; }
    CString GetText(int index) const;
    CString GetTreeBkPath() const { return m_treeBkPath; }
    CString GetFaceSystemPath() const { return m_faceSystemPath; }
    int GetStyleText(int index, CString& text, int& id) const;
    const StringTable& GetFaceTable() const { return m_faces; }
    CString GetIniPath() const { return m_iniPath; }

    CBmpImageList* GetTreeImageList() { return &m_treeIcons; }

private:
    class Reader;
    friend class Reader;
    static CMyBitmap* Loaded(CMyBitmap& b) { return b.IsLoaded() ? &b : nullptr; }
    int LoadSections(Reader& r);
    void DrawTileFrame(CDC* dc, int left, int top, int right, int bottom, CMyBitmap& sheet);
    // Where a frame of that type over that rectangle may draw; empty when it draws nothing.
    CRect FrameBox(int left, int top, int right, int bottom, int type) const;

    CString m_iniPath, m_iniFolder;
    COLORREF m_colorKey, m_titleText1, m_titleText2, m_bkColor1 = 0, m_bkColor2 = 0, m_right[6];
    COLORREF m_tabBkColor = 0, m_tabTextColor, m_tabTextUsColor = 0;
    COLORREF m_loginKey = 0, m_loginEditBk = 0, m_loginEditText = 0, m_loginText = 0, m_loginBkColor;
    COLORREF m_waitBkColor = 0;
    int m_titleHeight = 30, m_borderLeft = 6, m_borderRight = 6, m_borderBottom = 27;
    int m_startBtnX = 0, m_startBtnY = 0, m_exitBtnX = 0, m_exitBtnY = 0;
    int m_waitFrames = 0, m_waitFrameTime = 0, m_textCount = 0, m_btnCount = 0;
    CRect m_userEditRect, m_passEditRect, m_loginInfoRect, m_loginWebRect;

    CMyBitmap m_btnMax, m_btnMin, m_btnClose, m_btnNormal, m_dlgBg;
    CMyBitmap m_border[8];  // bl, bm, br, l, r, tl, tm, tr
    CMyBitmap m_bkStyle1, m_bkStyle2, m_tabBmp1, m_tabBmp2, m_loginBk, m_loginBk2, m_popBk2Bitmap;
    HRGN m_popRegion = nullptr;

    Gdiplus::Image *m_topBk = nullptr, *m_listTop = nullptr, *m_tcTop = nullptr, *m_tabBk = nullptr,
                   *m_logo = nullptr, *m_start1 = nullptr, *m_start2 = nullptr, *m_exit1 = nullptr,
                   *m_exit2 = nullptr, *m_btnMirabo = nullptr, *m_btnPartner = nullptr, *m_loginClose = nullptr,
                   *m_roomTop = nullptr, *m_desk = nullptr, *m_emptySeat = nullptr, *m_toLeft = nullptr,
                   *m_toRight = nullptr, *m_wait = nullptr, *m_popBk = nullptr, *m_popClose = nullptr,
                   *m_popBk2 = nullptr, *m_popClose2 = nullptr;
    Gdiplus::Image** m_btnImages = nullptr;
    std::vector<Gdiplus::Image*> m_seats;
    std::vector<CPoint> m_btnPoints;
    std::vector<COLORREF> m_listColors;
    std::vector<CString> m_styleTexts;
    std::vector<int> m_styleIds;
    CString* m_texts = nullptr;
    CString m_userText, m_treeBkPath, m_faceSystemPath;
    StringTable m_faces;
    CBmpImageList m_treeIcons;
    CFrameCache m_frames;
    unsigned m_generation = 0;

    // Tile sheet of frame types 1 and 3.
    CRect m_tiles[9];
    int m_tileW = 16, m_tileH = 16;

    std::mutex m_loaderLock;  // one waiter joins the loader
    std::thread m_loader;
};

// The lobby's one skin object.
CSkinRes* GetLobbySkin();
