#include "lobby/ui/SkinRes.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>

#include "lobby/net/base/IniSection.h"
#include "lobby/net/base/LobbyTrace.h"
#include "lobby/ui/SkinGeometry.h"
#include "lobby/ui/SkinText.h"

namespace {

std::wstring Wide(LPCSTR text) {
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], n);
    w.resize(wcslen(w.c_str()));
    return w;
}

void DeleteImage(Gdiplus::Image*& image) {
    delete image;
    image = nullptr;
}

thread_local bool t_skinLoader = false;  // set on the thread of LoadInBackground

}  // namespace

// Reads keys of the ini in turn; each path, bitmap and image key fails on an
// empty value (and a bitmap on a failed load).
class CSkinRes::Reader {
public:
    explicit Reader(CSkinRes& skin) : m_skin(skin) {}

    CString Value(LPCSTR section, LPCSTR key, int size) {
        std::vector<char> buf(static_cast<size_t>(size));
        ::GetPrivateProfileStringA(section, key, "", buf.data(), static_cast<DWORD>(size), m_skin.m_iniPath);
        return CString(buf.data());
    }
    COLORREF Color(LPCSTR section, LPCSTR key, COLORREF def) {
        CString v = Value(section, key, 1000);
        return v.IsEmpty() ? def : static_cast<COLORREF>(ParseSkinColor(v));
    }
    int Int(LPCSTR section, LPCSTR key, int def) {
        return static_cast<int>(::GetPrivateProfileIntA(section, key, def, m_skin.m_iniPath));
    }
    // A count of the section's own entries, cut to the keys the section holds.
    int Count(LPCSTR section, LPCSTR key) {
        const int count = Int(section, key, 0);
        if (count <= 0) return count;
        const size_t held = ReadIniSection(std::string(m_skin.m_iniPath), section).Count();
        return static_cast<int>(std::min<size_t>(static_cast<size_t>(count), held));
    }
    CRect Rect(LPCSTR section, LPCSTR key) {
        int n[4] = {0, 0, 0, 0};
        CString v = Value(section, key, 1000);
        if (!v.IsEmpty()) ParseSkinNumbers(v, n, 4);
        return CRect(n[0], n[1], n[2], n[3]);
    }
    CPoint Point(LPCSTR section, LPCSTR key) {
        int n[2] = {0, 0};
        CString v = Value(section, key, 1000);
        if (!v.IsEmpty()) ParseSkinNumbers(v, n, 2);
        return CPoint(n[0], n[1]);
    }
    bool Path(LPCSTR section, LPCSTR key, CString& full) {
        CString v = Value(section, key, 512);
        if (v.IsEmpty()) return false;
        full = m_skin.m_iniFolder + v;
        return true;
    }
    bool Bitmap(LPCSTR section, LPCSTR key, CMyBitmap& bitmap) {
        CString full;
        return Path(section, key, full) && bitmap.LoadFile(full) == 1;
    }
    bool Image(LPCSTR section, LPCSTR key, Gdiplus::Image*& image) {
        CString full;
        if (!Path(section, key, full)) return false;
        DeleteImage(image);
        image = new Gdiplus::Image(Wide(full).c_str());
        return true;
    }

private:
    CSkinRes& m_skin;
};

CSkinRes* GetLobbySkin() {
    static CSkinRes skin;
    skin.WaitLoaded();
    return &skin;
}

CSkinRes::CSkinRes()
    : m_colorKey(RGB(255, 0, 255)), m_titleText1(RGB(255, 255, 255)), m_titleText2(RGB(128, 128, 128)),
      m_right{0, 0, 0, 0, RGB(255, 255, 255), RGB(255, 255, 255)}, m_tabTextColor(RGB(255, 255, 255)),
      m_loginBkColor(RGB(255, 255, 255)) {
    const int edge[3][2] = {{0, 16}, {17, 33}, {34, 49}};  // last column and row 15 pixels
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m_tiles[row * 3 + col] = CRect(edge[col][0], edge[row][0], edge[col][1], edge[row][1]);
}

CSkinRes::~CSkinRes() {
    Release();
    if (m_popRegion) ::DeleteObject(m_popRegion);
}

int CSkinRes::Load(LPCSTR path) {
    if (!path) return 0;
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    std::fclose(f);
    char full[512] = "";
    if (!::GetFullPathNameA(path, sizeof full, full, nullptr)) lstrcpynA(full, path, sizeof full);
    m_iniPath = full;
    int cut = m_iniPath.ReverseFind('\\');
    m_iniFolder = cut >= 0 ? m_iniPath.Left(cut + 1) : CString();
    Reader r(*this);
    m_frames.Clear();
    ++m_generation;
    return LoadSections(r);
}

int CSkinRes::LoadSections(Reader& r) {
    m_colorKey = r.Color("color", "color_key", RGB(255, 0, 255));
    m_titleText1 = r.Color("color", "title_text1", RGB(255, 255, 255));
    m_titleText2 = r.Color("color", "title_text2", RGB(128, 128, 128));
    m_bkColor1 = r.Color("color", "bk_color1", RGB(200, 200, 200));
    m_bkColor2 = r.Color("color", "bk_color2", RGB(200, 200, 200));
    const char* right[6] = {"right_bk_color1",   "right_bk_color2", "right_text_color1",
                            "right_text_color2", "right_text_bk1",  "right_text_bk2"};
    for (int i = 0; i < 6; ++i) m_right[i] = r.Color("color", right[i], RGB(255, 255, 255));

    m_titleHeight = r.Int("number", "title_height", 30);
    m_borderLeft = r.Int("number", "border_left", 30);
    m_borderRight = r.Int("number", "border_right", 30);
    m_borderBottom = r.Int("number", "border_bottom", 30);

    if (!r.Bitmap("dialog", "btn_max", m_btnMax) || !r.Bitmap("dialog", "btn_min", m_btnMin) ||
        !r.Bitmap("dialog", "btn_close", m_btnClose) || !r.Bitmap("dialog", "btn_normal", m_btnNormal) ||
        !r.Bitmap("dialog", "dlg_bg", m_dlgBg))
        return 0;
    const char* border[8] = {"dlg_borderbl", "dlg_borderbm", "dlg_borderbr", "dlg_borderl",
                             "dlg_borderr",  "dlg_bordertl", "dlg_bordertm", "dlg_bordertr"};
    for (int i = 0; i < 8; ++i)
        if (!r.Bitmap("dialog", border[i], m_border[i])) return 0;

    if (!r.Bitmap("bk", "bk_style1", m_bkStyle1) || !r.Bitmap("bk", "bk_style2", m_bkStyle2) ||
        !r.Image("bk", "top_bk", m_topBk) || !r.Image("bk", "list_top", m_listTop))
        return 0;

    COLORREF mask = r.Color("TreeCtrl", "tc_mask_color", RGB(255, 0, 255));
    if (!r.Image("TreeCtrl", "tc_top", m_tcTop) || !r.Path("TreeCtrl", "tc_bk1", m_treeBkPath)) return 0;
    int icons = r.Int("TreeCtrl", "tc_ico_count", 0);
    if (!m_treeIcons.CreateOnce(16, 16)) return 0;
    for (int i = 1; i <= icons; ++i) {
        CString key, file;
        key.Format("tc_ico%d", i);
        if (!r.Path("TreeCtrl", key, file)) return 0;
        m_treeIcons.LoadBitmapFile(file, mask);
    }

    m_tabBkColor = r.Color("TabCtrl", "tab_bk_color", RGB(255, 255, 255));
    m_tabTextColor = r.Color("TabCtrl", "tab_text_color", RGB(255, 255, 255));
    m_tabTextUsColor = r.Color("TabCtrl", "tab_text_us_color", RGB(255, 255, 255));
    if (!r.Image("TabCtrl", "tab_bk", m_tabBk) || !r.Bitmap("TabCtrl", "tab_bmp1", m_tabBmp1) ||
        !r.Bitmap("TabCtrl", "tab_bmp2", m_tabBmp2))
        return 0;

    if (!r.Image("png", "logo", m_logo)) return 0;

    int count = r.Count("png_btn", "btn_count");
    if (count <= 0) return 0;
    m_btnCount = count;
    m_btnImages = new Gdiplus::Image*[count]();
    for (int i = 0; i < count; ++i) {
        CString key;
        key.Format("btn%d", i);
        if (!r.Image("png_btn", key, m_btnImages[i])) return 0;
    }

    m_loginKey = r.Color("login_dlg", "color_key", RGB(255, 0, 255));
    m_loginEditBk = r.Color("login_dlg", "color_edt_bk", RGB(0, 0, 0));
    m_loginEditText = r.Color("login_dlg", "color_edt_text", RGB(255, 255, 255));
    m_loginText = r.Color("login_dlg", "color_text", RGB(0, 0, 0));
    m_loginBkColor = r.Color("login_dlg", "color_bk", RGB(255, 255, 255));
    m_userEditRect = r.Rect("login_dlg", "user_edt_rect");
    m_passEditRect = r.Rect("login_dlg", "pass_edt_rect");
    m_loginInfoRect = r.Rect("login_dlg", "login_info_rect");
    m_loginWebRect = r.Rect("login_dlg", "login_web");
    m_startBtnX = r.Int("login_dlg", "start_btn_x", 0);
    m_startBtnY = r.Int("login_dlg", "start_btn_y", 0);
    m_exitBtnX = r.Int("login_dlg", "exit_btn_x", 0);
    m_exitBtnY = r.Int("login_dlg", "exit_btn_y", 0);
    if (!r.Image("login_dlg", "start_png1", m_start1) || !r.Image("login_dlg", "start_png2", m_start2) ||
        !r.Image("login_dlg", "exit_png1", m_exit1) || !r.Image("login_dlg", "exit_png2", m_exit2) ||
        !r.Bitmap("login_dlg", "login_bk", m_loginBk) || !r.Bitmap("login_dlg", "login_bk2", m_loginBk2) ||
        !r.Image("login_dlg", "btn_Mirabo", m_btnMirabo) || !r.Image("login_dlg", "btn_partner", m_btnPartner) ||
        !r.Image("login_dlg", "btn_close", m_loginClose))
        return 0;

    if (!r.Image("dlg_room", "room_top", m_roomTop) || !r.Image("dlg_room", "desk", m_desk) ||
        !r.Image("dlg_room", "empty_seat", m_emptySeat))
        return 0;
    int seats = r.Int("dlg_room", "pos_count", 0);
    for (int i = 1; i <= seats; ++i) {
        CString key;
        key.Format("pos%d", i);
        Gdiplus::Image* seat = nullptr;
        if (!r.Image("dlg_room", key, seat)) return 0;
        m_seats.push_back(seat);
    }

    int points = r.Count("btn_point", "btn_count");
    for (int i = 0; i < points; ++i) {
        CString key;
        key.Format("btn%d", i);
        m_btnPoints.push_back(r.Point("btn_point", key));
    }

    m_userText = r.Value("text", "text_user", 512);
    m_textCount = r.Count("text", "text_count");
    if (m_textCount > 0) {
        m_texts = new CString[m_textCount];
        for (int i = 0; i < m_textCount; ++i) {
            CString key;
            key.Format("text%d", i);
            m_texts[i] = r.Value("text", key, 512);
        }
    }

    if (!r.Image("hide_btn", "bmp_to_left", m_toLeft) || !r.Image("hide_btn", "bmp_to_right", m_toRight)) return 0;

    m_waitBkColor = r.Color("enter_wait", "bk_color", RGB(255, 255, 255));
    m_waitFrames = r.Int("enter_wait", "frame", 0);
    m_waitFrameTime = r.Int("enter_wait", "frame_time", 500);
    if (!r.Image("enter_wait", "png_wait", m_wait)) return 0;

    if (!r.Path("face", "face_system", m_faceSystemPath)) return 0;
    int faces = r.Int("face", "face_count", 0);
    for (int i = 0; i < faces; ++i) {
        CString textKey, fileKey, file;
        textKey.Format("face_text_%d", i);
        fileKey.Format("face_file_%d", i);
        CString code = r.Value("face", textKey, 512);
        if (!r.Path("face", fileKey, file)) return 0;
        m_faces.Add(static_cast<LPCSTR>(code), static_cast<LPCSTR>(file));
    }

    int colors = r.Count("color_list", "count");
    for (int i = 1; i <= colors; ++i) {
        CString key;
        key.Format("color%d", i);
        m_listColors.push_back(r.Color("color_list", key, RGB(0, 0, 0)));
    }

    int styles = r.Count("style_text", "count");
    for (int i = 1; i <= styles; ++i) {
        CString textKey, idKey;
        textKey.Format("text%d", i);
        idKey.Format("id%d", i);
        m_styleTexts.push_back(r.Value("style_text", textKey, 512));
        m_styleIds.push_back(r.Int("style_text", idKey, 0));
    }

    if (!r.Image("pop_msg", "bk", m_popBk) || !r.Image("pop_msg", "btn_close", m_popClose) ||
        !r.Bitmap("pop_msg", "bk2", m_popBk2Bitmap))
        return 0;
    if (m_popRegion) ::DeleteObject(m_popRegion);
    m_popRegion = m_popBk2Bitmap.CreateRegion(RGB(255, 0, 255));
    if (!r.Image("pop_msg", "bk2", m_popBk2) || !r.Image("pop_msg", "btn_close2", m_popClose2)) return 0;
    return 1;
}

void CSkinRes::LoadInBackground(LPCSTR path) {
    WaitLoaded();
    const std::string file(path ? path : "");
    std::lock_guard<std::mutex> guard(m_loaderLock);
    m_loader = std::thread([this, file, missing = path == nullptr] {
        t_skinLoader = true;
        Load(missing ? nullptr : file.c_str());
        LobbyStep("skin loaded");
    });
}

void CSkinRes::WaitLoaded() {
    if (t_skinLoader) return;
    std::lock_guard<std::mutex> guard(m_loaderLock);
    if (!m_loader.joinable()) return;
    LobbyStep("skin asked for");
    m_loader.join();
}

void CSkinRes::Release() {
    WaitLoaded();
    if (m_btnImages) {
        for (int i = 0; i < m_btnCount; ++i) delete m_btnImages[i];
        delete[] m_btnImages;
        m_btnImages = nullptr;
    }
    m_btnCount = 0;
    Gdiplus::Image** singles[] = {&m_topBk,  &m_listTop,   &m_tcTop,      &m_tabBk,    &m_logo,   &m_start1,
                                  &m_start2, &m_exit1,     &m_exit2,      &m_btnMirabo, &m_btnPartner,
                                  &m_loginClose, &m_roomTop, &m_desk,     &m_emptySeat, &m_toLeft, &m_toRight,
                                  &m_wait,   &m_popBk,     &m_popClose,   &m_popBk2,   &m_popClose2};
    for (auto* image : singles) DeleteImage(*image);
    for (auto* seat : m_seats) delete seat;
    m_seats.clear();
    m_btnPoints.clear();
    delete[] m_texts;
    m_texts = nullptr;
    m_textCount = 0;
    m_frames.Clear();
    ++m_generation;
}

void CSkinRes::SaveUserText(LPCSTR value) {
    ::WritePrivateProfileStringA("text", "text_user", value, m_iniPath);
}

COLORREF CSkinRes::GetBkColor(int type) const {
    return type == 1 ? m_bkColor1 : type == 2 ? m_bkColor2 : RGB(255, 255, 255);
}

COLORREF CSkinRes::GetTabColor(int type) const {
    return type == 1 ? m_tabBkColor : type == 2 ? m_tabTextUsColor : RGB(255, 255, 255);
}

COLORREF CSkinRes::GetListColor(int index) const {
    return index >= 0 && index < static_cast<int>(m_listColors.size()) ? m_listColors[index] : 0;
}

Gdiplus::Image* CSkinRes::GetImage(int index) const {
    return m_btnImages && index >= 0 && index < m_btnCount ? m_btnImages[index] : nullptr;
}

Gdiplus::Image* CSkinRes::GetSeatImage(int index) const {
    return index >= 0 && index < static_cast<int>(m_seats.size()) ? m_seats[index] : nullptr;
}

CString CSkinRes::GetText(int index) const {
    return m_texts && index >= 0 && index < m_textCount ? m_texts[index] : CString();
}

int CSkinRes::GetStyleText(int index, CString& text, int& id) const {
    if (index < 0 || index >= static_cast<int>(m_styleTexts.size())) return 0;
    text = m_styleTexts[index];
    id = m_styleIds[index];
    return 1;
}

void CSkinRes::FillBk(CDC* dc, LPCRECT rect, int type) {
    COLORREF c = type == 1 ? m_bkColor1 : type == 2 ? m_bkColor2 : RGB(200, 200, 200);
    CBrush brush(c);
    dc->FillRect(rect, &brush);
}

void CSkinRes::DrawTileFrame(CDC* dc, int left, int top, int right, int bottom, CMyBitmap& sheet) {
    SkinRect fill;
    const std::vector<TilePlacement> tiles = LayTileFrame(left, top, right, bottom, m_tileW, m_tileH, fill);
    if (sheet.m_hObject) {
        HDC source = ::CreateCompatibleDC(*dc);
        HGDIOBJ old = ::SelectObject(source, sheet.m_hObject);
        for (const TilePlacement& t : tiles) {
            const CRect& r = m_tiles[t.tile];
            ::BitBlt(*dc, t.x, t.y, r.Width(), r.Height(), source, r.left, r.top, SRCCOPY);
        }
        ::SelectObject(source, old);
        ::DeleteDC(source);
    }
    CRect inner(fill.left, fill.top, fill.right, fill.bottom);
    CBrush brush(m_bkColor2);
    if (!inner.IsRectEmpty()) dc->FillRect(&inner, &brush);
}

namespace {

Gdiplus::Image* StripImage(int type, Gdiplus::Image* top, Gdiplus::Image* tab, Gdiplus::Image* list,
                           Gdiplus::Image* room) {
    return type == 2 ? top : type == 4 ? tab : type == 5 ? list : type == 6 ? room : nullptr;
}

// The strip's height: the rectangle's for the tiled strip, else the image's.
int StripHeight(int type, Gdiplus::Image* image, int top, int bottom) {
    return type == 2 ? bottom - top : static_cast<int>(image->GetHeight());
}

std::vector<StripPiece> StripPieces(int type, Gdiplus::Image* image, int left, int right) {
    const int W = static_cast<int>(image->GetWidth());
    return type == 2 ? LayTiledStrip(left, right, W) : LayThreeSlice(left, right, W);
}

}  // namespace

CRect CSkinRes::FrameBox(int left, int top, int right, int bottom, int type) const {
    CRect box;
    auto add = [&box](int l, int t, int r, int b) {
        const CRect part(l, t, r, b);
        if (part.IsRectEmpty()) return;
        if (box.IsRectEmpty())
            box = part;
        else
            box.UnionRect(box, part);
    };
    if (type == 1 || type == 3) {
        SkinRect fill;
        for (const TilePlacement& t : LayTileFrame(left, top, right, bottom, m_tileW, m_tileH, fill))
            add(t.x, t.y, t.x + m_tiles[t.tile].Width(), t.y + m_tiles[t.tile].Height());
        add(fill.left, fill.top, fill.right, fill.bottom);
        return box;
    }
    Gdiplus::Image* image = StripImage(type, m_topBk, m_tabBk, m_listTop, m_roomTop);
    if (!image) return box;
    const int H = StripHeight(type, image, top, bottom);
    for (const StripPiece& p : StripPieces(type, image, left, right))
        if (p.width > 0) add(p.x, top, p.x + p.width, top + H);
    return box;
}

int CSkinRes::DrawFrame(CDC* dc, int left, int top, int right, int bottom, int type) {
    if (type < 1 || type > 6) return 0;
    if (!dc || !dc->m_hDC) return 1;
    const CRect box = FrameBox(left, top, right, bottom, type);
    // One picture per type and size: the frame's drawing moves with its rectangle.
    m_frames.Draw(*dc, box, FrameKey{type, right - left, bottom - top}, [&](HDC mem) {
        DrawFrameDirect(CDC::FromHandle(mem), left - box.left, top - box.top, right - box.left, bottom - box.top, type);
    });
    return 1;
}

int CSkinRes::DrawFrameDirect(CDC* dc, int left, int top, int right, int bottom, int type) {
    if (type < 1 || type > 6) return 0;
    if (!dc || !dc->m_hDC) return 1;
    if (type == 1 || type == 3) {
        DrawTileFrame(dc, left, top, right, bottom, type == 1 ? m_bkStyle1 : m_bkStyle2);
        return 1;
    }
    Gdiplus::Image* image = StripImage(type, m_topBk, m_tabBk, m_listTop, m_roomTop);
    if (!image) return 1;
    Gdiplus::Graphics g(dc->m_hDC);
    const int H = StripHeight(type, image, top, bottom);
    for (const StripPiece& p : StripPieces(type, image, left, right))
        if (p.width > 0)
            g.DrawImage(image, Gdiplus::Rect(p.x, top, p.width, H), p.srcX, 0, p.width, H, Gdiplus::UnitPixel);
    return 1;
}

int CSkinRes::DrawLogo(CDC* dc, int x, int y) {
    if (!m_logo) return 0;
    Gdiplus::Graphics g(dc->m_hDC);
    g.DrawImage(m_logo, Gdiplus::Rect(x, y, static_cast<INT>(m_logo->GetWidth()),
                                      static_cast<INT>(m_logo->GetHeight())));
    return 1;
}
