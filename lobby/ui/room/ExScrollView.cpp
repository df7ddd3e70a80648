#include "lobby/ui/room/ExScrollView.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <memory>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/NumberText.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbySend.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/room/RoomGrid.h"
#include "lobby/ui/room/RoomHost.h"
#include "platform/TextFont.h"

namespace {

const COLORREF kBackground = 0x039E59;
const COLORREF kTextColor = 0x05FEF5;
const UINT_PTR kWatchTimer = 1;
const UINT_PTR kBuildTimer = 2;
const double kBuildSliceMs = 40;  // of button making between two messages
const char kReconnectText[] = "检测到玩家已经在游戏中,正在为你重连...";
const char kHint[] = "提示";

// Holds a CCirSecLock for a scope.
class Hold {
public:
    explicit Hold(CCirSecLock& lock) : lock_(lock) { lock_.Lock(); }
    ~Hold() { lock_.Unlock(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    CCirSecLock& lock_;
};

int ImageWidth(Gdiplus::Image* image) { return image ? static_cast<int>(image->GetWidth()) : 0; }
int ImageHeight(Gdiplus::Image* image) { return image ? static_cast<int>(image->GetHeight()) : 0; }

room::RoomGrid GridFor(CSkinRes* skin, int clientWidth) {
    Gdiplus::Image* desk = skin ? skin->GetDeskImage() : nullptr;
    Gdiplus::Image* seat = skin ? skin->GetEmptySeatImage() : nullptr;
    return room::RoomGrid(ImageWidth(desk), ImageHeight(desk), ImageWidth(seat), ImageHeight(seat), clientWidth);
}

void MoveButton(PngButton* button, room::GridPoint p, int scrollY) {
    ::SetWindowPos(button->m_hWnd, nullptr, p.x, p.y - scrollY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsShown(PngButton* button) { return (::GetWindowLongA(button->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

BEGIN_MESSAGE_MAP(CExScrollView, CScrollView)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_MESSAGE(kMsgPngButtonPressed, OnButtonPressed)
    ON_WM_TIMER()
    ON_MESSAGE(kMsgRoomUpdate, OnRoomUpdate)
END_MESSAGE_MAP()

CExScrollView::CExScrollView() {}

CExScrollView::~CExScrollView() {
    Hold view(*this);
    DeleteButtons();
    delete m_deskList;
    m_deskList = nullptr;
}

void CExScrollView::DeleteButtons() {
    // Exactly the buttons that exist: the grouping flag may have changed since they were made.
    for (PngButton* b : m_deskButtons) delete b;
    for (PngButton* b : m_seatButtons) delete b;
    m_deskButtons.clear();
    m_seatButtons.clear();
}

int CExScrollView::SetSkinRes(CSkinRes* skin) {
    if (!skin) return 0;
    m_skin = skin;
    m_layoutStale = true;
    return 1;
}

PngButton* CExScrollView::DeskButton(int index) const {
    return index >= 0 && index < static_cast<int>(m_deskButtons.size()) ? m_deskButtons[index] : nullptr;
}

PngButton* CExScrollView::SeatButton(int index) const {
    return index >= 0 && index < static_cast<int>(m_seatButtons.size()) ? m_seatButtons[index] : nullptr;
}

void CExScrollView::OnInitialUpdate() { CScrollView::OnInitialUpdate(); }

void CExScrollView::Repaint() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE); }

int CExScrollView::OnCreate(LPCREATESTRUCT cs) {
    Hold view(*this);
    if (CScrollView::OnCreate(cs) == -1) return -1;
    const room::RoomGrid grid = GridFor(m_skin, cs->cx);
    // The desks in view now (their top seats in sight), the rest between messages.
    int inView = 0;
    while (inView < m_deskCount && grid.Desk(inView).y - grid.seatH - 10 < cs->cy) ++inView;
    for (; m_built < inView; ++m_built)
        if (!BuildDesk(m_built, grid, 0)) {
            m_buildFailed = true;
            break;
        }
    if (Building()) SetTimer(kBuildTimer, USER_TIMER_MINIMUM);
    SetScrollSizes(MM_TEXT, CSize(0, grid.ScrollHeight()));
    m_watchedGeneration = GetLobbyData().EngineGeneration();
    SetTimer(kWatchTimer, 200);
    LobbyStep("room view made");
    return 0;
}

bool CExScrollView::BuildDesk(int i, const room::RoomGrid& grid, int scrollY) {
    Gdiplus::Image* deskImage = m_skin ? m_skin->GetDeskImage() : nullptr;
    Gdiplus::Image* seatImage = m_skin ? m_skin->GetEmptySeatImage() : nullptr;
    const DeskLook look = LookOf(i);
    room::GridPoint p = grid.Desk(i);
    std::unique_ptr<PngButton> desk(new PngButton);
    if (!desk->CreateEx(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                        CRect(p.x, p.y - scrollY, p.x + grid.deskW, p.y - scrollY + grid.deskH), this,
                        room::kDeskButtonId + i))
        return false;
    if (deskImage) desk->SetImage(deskImage);
    desk->SetOverlay(m_skin ? m_skin->GetImage(20) : nullptr);
    CString caption;
    caption.Format("- %d -", i + 1);
    desk->SetText(caption, -1, 62);
    desk->ShowText(TRUE);
    desk->SetTextColor(kTextColor);
    desk->SetState(look.playing);
    if (look.listed && !look.enabled) desk->EnableWindow(FALSE);
    // Seat button 3i + k is seat k of desk i: a desk is made with all three
    // seats or not at all.
    std::unique_ptr<PngButton> seats[room::kSeatsPerDesk];
    for (int k = 0; k < room::kSeatsPerDesk && m_autoGroup == 0; ++k) {
        room::GridPoint s = grid.Seat(i, k);
        seats[k].reset(new PngButton);
        const DWORD shown = look.free[k] ? WS_VISIBLE : 0;
        if (!seats[k]->CreateEx(0, "BUTTON", "", WS_CHILD | shown | BS_OWNERDRAW,
                                CRect(s.x, s.y - scrollY, s.x + grid.seatW, s.y - scrollY + grid.seatH), this,
                                room::kSeatButtonId + room::kSeatsPerDesk * i + k))
            return false;
        if (seatImage) seats[k]->SetImage(seatImage);
    }
    m_deskButtons.push_back(desk.release());
    for (std::unique_ptr<PngButton>& seat : seats)
        if (seat) m_seatButtons.push_back(seat.release());
    return true;
}

void CExScrollView::BuildDesks(double budgetMs) {
    LobbyLockGuard hub(GetLobbyData().lobbyLock);
    Hold view(*this);
    if (!Building()) return;
    if (!m_slicing) LobbyStep("room view first slice");
    m_slicing = true;
    CRect client;
    GetClientRect(&client);
    const room::RoomGrid grid = GridFor(m_skin, client.Width());
    const int scrollY = GetScrollPosition().y;
    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    while (Building()) {
        if (!BuildDesk(m_built, grid, scrollY)) {
            m_buildFailed = true;
            break;
        }
        ++m_built;
        ::QueryPerformanceCounter(&now);
        if (1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) >=
            budgetMs)
            break;
    }
    if (Building()) return;
    KillTimer(kBuildTimer);
    LobbyStep("room view all buttons made");
}

void CExScrollView::OnSize(UINT type, int cx, int cy) {
    CScrollView::OnSize(type, cx, cy);
    LayoutDesks();
}

void CExScrollView::LayoutDesks() {
    LobbyLockGuard hub(GetLobbyData().lobbyLock);
    Hold view(*this);
    if (m_deskButtons.empty()) return;
    CRect client;
    GetClientRect(&client);
    const room::RoomGrid grid = GridFor(m_skin, client.Width());
    const int scrollY = GetScrollPosition().y;
    for (size_t i = 0; i < m_deskButtons.size(); ++i) MoveButton(m_deskButtons[i], grid.Desk(static_cast<int>(i)), scrollY);
    for (size_t j = 0; j < m_seatButtons.size(); ++j) {
        const int id = m_seatButtons[j]->GetDlgCtrlID() - room::kSeatButtonId;
        MoveButton(m_seatButtons[j], grid.Seat(id / room::kSeatsPerDesk, id % room::kSeatsPerDesk), scrollY);
    }
    SetScrollSizes(MM_TEXT, CSize(0, grid.ScrollHeight()));
    UpdateWindow();
    Repaint();
}

void CExScrollView::OnPaint() {
    CPaintDC dc(this);
    PaintUpdate(dc, dc.m_ps.rcPaint);
}

void CExScrollView::PaintUpdate(HDC dc, const RECT& rect) {
    LobbyLockGuard hub(GetLobbyData().lobbyLock);
    Hold view(*this);
    if (!m_deskList) return;
    Hold list(*m_deskList);
    CRect client, update;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0 || !update.IntersectRect(rect, client)) return;
    PaintBands(dc, update, client.Width(), GetScrollPosition().y);
}

HFONT CExScrollView::NameFont() { return AfxTextFont("宋体", 12, FW_NORMAL, FALSE, ANTIALIASED_QUALITY, FF_SWISS); }

bool CExScrollView::KeptLayout(int width) {
    const unsigned skin = m_skin ? m_skin->Generation() : 0;
    if (!m_layoutStale && width == m_layoutWidth && skin == m_layoutSkin) return m_layoutDrawable;
    m_layoutStale = false;
    m_layoutWidth = width;
    m_layoutSkin = skin;
    ++m_layoutVersion;
    return m_layoutDrawable = LayOut(width, m_layout);
}

bool CExScrollView::LayOut(int width, GridLayout& layout) {
    layout.pictures.clear();
    layout.names.clear();
    if (!m_deskList || !m_skin || m_deskList->GetCount() < 1) return false;
    Gdiplus::Image* seated = m_skin->GetSeatImage(0);
    Gdiplus::Image* second = m_skin->GetSeatImage(1);
    Gdiplus::Image* ready = m_skin->GetSeatImage(4);
    if (!seated || !second || !ready) return false;

    if (m_nameSizes.size() > 4000) m_nameSizes.clear();  // names of players long gone
    HDC measure = nullptr;
    HGDIOBJ oldFont = nullptr;
    auto nameSize = [&](const std::string& text) {
        auto known = m_nameSizes.find(text);
        if (known != m_nameSizes.end()) return known->second;
        if (!measure) {
            measure = ::CreateCompatibleDC(nullptr);
            oldFont = ::SelectObject(measure, NameFont());
        }
        RECT r = {0, 0, 0, 0};
        ::DrawTextA(measure, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT);
        return m_nameSizes[text] = SIZE{r.right - r.left, r.bottom - r.top};
    };

    const room::RoomGrid grid = GridFor(m_skin, width);
    const int pw0 = ImageWidth(seated), ph0 = ImageHeight(seated);
    auto picture = [&](Gdiplus::Image* image, int left, int top) {
        layout.pictures.push_back({image, RECT{left, top, left + ImageWidth(image), top + ImageHeight(image)}});
    };
    bool drawn[room::kDeskCount] = {};
    for (CRoomDeskInfo* desk : m_deskList->desks) {
        const int n = room::DeskOf(desk->deskId);
        if (n < 0 || drawn[n - 1]) continue;  // not a place on the grid, or a second desk of that id
        drawn[n - 1] = true;
        const room::GridPoint d = grid.Desk(n - 1);
        for (RoomDeskPlayer* player : desk->players) {
            const int s = room::SeatOf(player->seat);
            if (s < 0) continue;  // not a seat of this game
            Gdiplus::Image* image = player->type == 1 ? second : seated;
            const int pw = ImageWidth(image), ph = ImageHeight(image);
            const SIZE measured = nameSize(player->nickname);
            int th = measured.cy;
            if (measured.cx > 50) th *= measured.cx / 50 + 1;
            int left, top;
            RECT name;
            if (s == 0) {
                left = d.x - pw;
                top = d.y + (grid.deskH - ph0) / 2;
                name = {d.x - 50, top + ph, d.x, top + ph + th};
            } else if (s == 1) {
                left = d.x + (grid.deskW - pw0) / 2;
                top = d.y - ph;
                name = {left, top - th, left + 50, top};
            } else {
                left = d.x + grid.deskW;
                top = d.y + (grid.deskH - ph0) / 2;
                name = {d.x + grid.deskW, top + ph, d.x + grid.deskW + 50, top + ph + th};
            }
            picture(image, left, top);
            if (player->state == 1 && m_autoGroup == 0)
                picture(ready, left + (pw0 - ImageWidth(ready)) / 2, top + ph0 - ImageHeight(ready));
            layout.names.push_back({&player->nickname, name});
        }
    }
    if (measure) {
        ::SelectObject(measure, oldFont);
        ::DeleteDC(measure);
    }
    return true;
}

namespace {

bool InRows(const RECT& r, int top, int bottom) { return r.top < bottom && r.bottom > top && r.left < r.right; }

// FNV-1a over the bytes given.
void Mix(uint64_t& h, const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
}

}  // namespace

uint64_t CExScrollView::BandSignature(int docTop, int height) const {
    uint64_t h = 14695981039346656037ull;
    const int bottom = docTop + height;
    for (const GridPicture& p : m_layout.pictures) {
        if (!InRows(p.rect, docTop, bottom)) continue;
        Mix(h, &p.image, sizeof p.image);
        Mix(h, &p.rect, sizeof p.rect);
    }
    for (const GridName& n : m_layout.names) {
        if (!InRows(n.rect, docTop, bottom)) continue;
        Mix(h, &n.rect, sizeof n.rect);
        Mix(h, n.text->data(), n.text->size() + 1);
    }
    return h;
}

void CExScrollView::PaintBands(HDC dc, const CRect& update, int width, int scrollY) {
    const unsigned skin = m_skin ? m_skin->Generation() : 0;
    if (width != m_bandWidth || skin != m_bandSkin) {
        m_bands.clear();
        m_bandWidth = width;
        m_bandSkin = skin;
    }
    KeptLayout(width);
    const int first = (update.top + scrollY) / kBandHeight, last = (update.bottom - 1 + scrollY) / kBandHeight;
    for (int k = first; k <= last; ++k) {
        const int docTop = k * kBandHeight;
        Band& band = m_bands[k];
        const CRect rect(0, docTop - scrollY, width, docTop - scrollY + kBandHeight);
        CMemDC mem(dc, rect, band.bitmap);
        if (mem.IsNew() || !band.drawn || band.version != m_layoutVersion) {
            const uint64_t signature = BandSignature(docTop, kBandHeight);
            if (mem.IsNew() || !band.drawn || band.signature != signature) {
                const int saved = ::SaveDC(mem);
                ::SetWindowOrgEx(mem, 0, 0, nullptr);
                DrawGrid(mem, width, kBandHeight, docTop);
                ::RestoreDC(mem, saved);
                band.signature = signature;
                band.drawn = true;
            }
            band.version = m_layoutVersion;
        }
        CRect part;
        part.IntersectRect(update, rect);
        mem.CopyBackOnly(part);
    }
    // Bands more than a screen away from the view are let go.
    CRect client;
    GetClientRect(&client);
    const int keepFrom = (scrollY - client.Height()) / kBandHeight - 1,
              keepTo = (scrollY + 2 * client.Height()) / kBandHeight + 1;
    for (auto it = m_bands.begin(); it != m_bands.end();)
        it = it->first < keepFrom || it->first > keepTo ? m_bands.erase(it) : std::next(it);
}

bool CExScrollView::DrawGrid(HDC dc, int width, int height, int top) {
    HBRUSH brush = ::CreateSolidBrush(kBackground);
    HPEN pen = ::CreatePen(PS_SOLID, 1, kBackground);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush), oldPen = ::SelectObject(dc, pen);
    ::Rectangle(dc, 0, 0, width, height);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
    GridLayout layout;
    if (!LayOut(width, layout)) return false;
    const int bottom = top + height;
    {
        Gdiplus::Graphics g(dc);
        for (const GridPicture& p : layout.pictures)
            if (InRows(p.rect, top, bottom))
                g.DrawImage(p.image, Gdiplus::Rect(p.rect.left, p.rect.top - top, p.rect.right - p.rect.left,
                                                   p.rect.bottom - p.rect.top));
    }
    HGDIOBJ oldFont = ::SelectObject(dc, NameFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kTextColor);
    ::SetViewportOrgEx(dc, 0, -top, nullptr);  // the names move by GDI's origin, the pictures above by hand
    for (GridName& n : layout.names)
        if (InRows(n.rect, top, bottom))
            ::DrawTextA(dc, n.text->c_str(), static_cast<int>(n.text->size()), &n.rect,
                        DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    ::SelectObject(dc, oldFont);
    return true;
}

void CExScrollView::ComputeLooks() {
    CLobbyData& data = GetLobbyData();
    int ownDesk = -1, ownSeat = -1;
    FindPlayerSeat(data.userName, &ownDesk, &ownSeat);
    m_looks.assign(static_cast<size_t>(m_deskCount), DeskLook());
    for (CRoomDeskInfo* desk : m_deskList->desks) {
        const int n = room::DeskOf(desk->deskId);
        if (n < 0 || n > m_deskCount) continue;
        DeskLook& look = m_looks[n - 1];
        look.listed = true;
        look.playing = desk->playing;
        look.enabled = desk->GetPlayerCount() < 3 || ownDesk == n;
        for (bool& f : look.free) f = true;
        for (RoomDeskPlayer* player : desk->players) {
            const int s = room::SeatOf(player->seat);
            if (s >= 0) look.free[s] = false;
        }
    }
}

void CExScrollView::RefreshDesks(const std::string& roomId) {
    Hold view(*this);
    if (!m_deskList || (m_deskButtons.empty() && !Building())) return;
    Hold list(*m_deskList);
    CLobbyData& data = GetLobbyData();
    LobbyLockGuard hub(data.lobbyLock);
    m_roomId = roomId;
    ComputeLooks();  // the desks not made yet take their look from it
    // Every made desk, listed or not: a desk a second list no longer has
    // shows as a desk never listed.
    for (size_t i = 0; i < m_deskButtons.size(); ++i) {
        const DeskLook& look = m_looks[i];
        PngButton* button = m_deskButtons[i];
        button->SetState(look.playing);
        if ((::IsWindowEnabled(button->m_hWnd) != FALSE) != look.enabled) button->EnableWindow(look.enabled);
        if (m_autoGroup != 0 || m_seatButtons.size() < room::kSeatsPerDesk * (i + 1)) continue;
        for (int k = 0; k < room::kSeatsPerDesk; ++k) {
            PngButton* seat = m_seatButtons[room::kSeatsPerDesk * i + k];
            if (IsShown(seat) != look.free[k]) seat->ShowWindow(look.free[k] ? SW_SHOW : SW_HIDE);
        }
    }
    // While buttons are still being made, the paint waits for its turn among
    // the messages.
    if (!Building()) UpdateWindow();
    Repaint();
}

int CExScrollView::FindPlayerSeat(const std::string& playerId, int* desk, int* seat) {
    Hold view(*this);
    LobbyLockGuard hub(GetLobbyData().lobbyLock);
    if (!m_deskList) return 0;
    Hold list(*m_deskList);
    for (CRoomDeskInfo* d : m_deskList->desks) {
        for (RoomDeskPlayer* p : d->players) {
            if (p->playerId != playerId) continue;
            *desk = StringToInt(d->deskId);
            *seat = StringToInt(p->seat);
            return 1;
        }
    }
    return 0;
}

void CExScrollView::PostBox(LPCSTR text, LPCSTR caption, int countFlag, int seconds) {
    if (CRoomHost* host = GetRoomHost()) host->PostMessageBox(text, caption, 0, countFlag, seconds, 0);
}

void CExScrollView::RequestSeat(int desk, int seat) {
    CLobbyData& data = GetLobbyData();
    {
        LobbyLockGuard hub(data.lobbyLock);
        m_chosenDesk = desk;
        m_chosenSeat = seat;
    }
    SendLobbyRequest(data, [&](CLobbyProtocol& protocol, int* length) {
        return protocol.MakeEnterDeskMsg(m_roomId, IntToString(desk), IntToString(seat), length);
    });
    LobbyStep("seat requested");
}

void CExScrollView::SendEnterRoom() {
    CLobbyData& data = GetLobbyData();
    SendLobbyRequest(data, [&](CLobbyProtocol& protocol, int* length) {
        return protocol.MakeEnterRoomMsg(data.userName, m_roomId, length);
    });
}

int CExScrollView::ResumeSeat() {
    int desk = -1, seat = -1;
    if (!FindPlayerSeat(GetLobbyData().userName, &desk, &seat)) return 0;
    PostBox(kReconnectText, kHint, 1, 5);
    RequestSeat(desk, seat);
    return 1;
}

void CExScrollView::OnEnterDesk(int id) {
    Hold view(*this);
    CLobbyData& data = GetLobbyData();
    LobbyLockGuard hub(data.lobbyLock);
    if (!m_deskList) return;
    CRoomHost* host = GetRoomHost();
    if (host && host->IsGameRunning()) {
        PostBox("游戏客户端已经启动!", kHint, 0, 0);
        return;
    }
    if (m_autoGroup == 1) {
        if (!data.loginRun) return;
        int desk = -1, seat = -1;
        if (FindPlayerSeat(data.userName, &desk, &seat)) PostBox(kReconnectText, kHint, 1, 5);
        SendEnterRoom();
        return;
    }
    const room::ButtonTarget target = room::DecodeButton(id);
    if (target.kind == room::ButtonKind::Other || ResumeSeat()) return;
    if (target.kind == room::ButtonKind::Seat) {
        RequestSeat(target.desk, target.seat);
        return;
    }
    // The desks as their buttons show them; those still to make as they will
    // show them (none more once the making has failed).
    const int count = m_buildFailed ? static_cast<int>(m_deskButtons.size()) : m_deskCount;
    std::vector<room::DeskSeats> desks(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (PngButton* desk = DeskButton(i)) {
            desks[i].enabled = ::IsWindowEnabled(desk->m_hWnd) != FALSE;
            for (int k = 0; k < room::kSeatsPerDesk; ++k) {
                PngButton* seat = SeatButton(i * room::kSeatsPerDesk + k);
                desks[i].free[k] = seat && IsShown(seat);
            }
        } else {
            const DeskLook look = LookOf(i);
            desks[i].enabled = look.enabled;
            for (int k = 0; k < room::kSeatsPerDesk; ++k) desks[i].free[k] = m_autoGroup == 0 && look.free[k];
        }
    }
    const room::SeatChoice choice = target.kind == room::ButtonKind::QuickJoin
                                        ? room::ChooseQuickSeat(desks)
                                        : room::LowestFreeSeat(desks, target.desk);
    if (choice.desk > 0) RequestSeat(choice.desk, choice.seat);
}

void CExScrollView::OnEnterDeskAck(BOOL accepted) {
    CLobbyData& data = GetLobbyData();
    LobbyLockGuard hub(data.lobbyLock);
    Hold view(*this);
    if (!accepted) {
        m_chosenDesk = m_chosenSeat = -1;
        PostBox("该座位已经有人!", kHint, 0, 0);
        return;
    }
    LobbyRoomRecord* record = data.FindRoom(StringToInt(m_roomId));
    if (!record) return;
    LaunchRoom launch;
    launch.host = record->host;
    launch.port = record->port;
    launch.host2 = record->host2;
    launch.port2 = record->port2;
    launch.directStart = record->flag;
    const std::string parameters =
        room::SeatLaunchParameters(launch, data.userName, m_roomId, m_token, m_chosenDesk, m_chosenSeat);
    if (CRoomHost* host = GetRoomHost()) host->LaunchGame(m_hWnd, parameters);
}

LRESULT CExScrollView::OnButtonPressed(WPARAM id, LPARAM) {
    LobbyStep("room button pressed");
    OnEnterDesk(static_cast<int>(id));
    return 0;
}

void CExScrollView::PlayerChange(LPARAM message) {
    auto* m = reinterpret_cast<CPlayerChangeMsg*>(message);
    {
        Hold view(*this);
        if (!m_deskList) return;
        Hold list(*m_deskList);
        if (CRoomDeskInfo* desk = m_deskList->FindDesk(m->deskId)) {
            if (m->sitsDown)
                desk->AddPlayer(m->playerId, m->nickname, m->seat, 0, m->number);
            else
                desk->RemovePlayer(m->seat);
        } else if (CRoomDeskInfo* added = m_deskList->AddDesk(0, m_autoGroup, "_", m->roomId, m->deskId)) {
            added->AddPlayer(m->playerId, m->nickname, m->seat, 0, m->number);
        }
    }
    RefreshDesks(m->roomId);
}

LRESULT CExScrollView::OnRoomUpdate(WPARAM code, LPARAM message) {
    LobbyLockGuard hub(GetLobbyData().lobbyLock);
    Hold view(*this);
    m_layoutStale = true;  // the desk list may change below
    if (code == 0) {
        std::unique_ptr<char[]> text = TakeOwned(kRoomIdText, message);
        if (text) RefreshDesks(std::string(text.get(), strnlen(text.get(), 128)));
        return 0;
    }
    if (code > 5) return 0;
    std::unique_ptr<CMessage> owned = TakeOwned(kRoomUpdateMessage, message);
    if (!owned) return 0;
    if (code == 5) {
        auto* m = static_cast<CDeskInfoMsg*>(owned.get());
        m_autoGroup = m->roomFlag ? 1 : 0;
        if (m->deskList != m_deskList) delete m_deskList;  // a second list replaces the first
        m_deskList = m->deskList;
        m->deskList = nullptr;
        // Once the page shows a list, the looks and the made buttons follow the new one.
        if (!m_looks.empty()) RefreshDesks(m_roomId);
        return 0;
    }
    if (code == 3) {
        PlayerChange(message);
        return 0;
    }
    if (!m_deskList) return 0;
    Hold list(*m_deskList);
    if (code == 1 || code == 2) {
        const std::string& deskId = code == 1 ? static_cast<CGameStartMsg*>(owned.get())->deskId
                                              : static_cast<CGameOverMsg*>(owned.get())->deskId;
        CRoomDeskInfo* desk = m_deskList->FindDesk(deskId);
        if (!desk) return 0;
        desk->playing = code == 1 ? 1 : 0;
        if (code == 2)
            for (RoomDeskPlayer* p : desk->players) p->state = 0;
        const int n = room::DeskOf(deskId);
        if (n > 0 && n <= static_cast<int>(m_looks.size())) m_looks[n - 1].playing = desk->playing;
        if (PngButton* button = DeskButton(n - 1)) button->SetState(desk->playing);
        if (code == 2) Repaint();
        return 0;
    }
    auto* m = static_cast<CPlayerStateMsg*>(owned.get());
    CRoomDeskInfo* desk = m_deskList->FindDesk(m->deskId);
    if (!desk) return 0;
    if (RoomDeskPlayer* player = desk->FindPlayer(m->playerId)) player->state = m->state ? 1 : 0;
    Repaint();
    return 0;
}

void CExScrollView::OnTimer(UINT_PTR id) {
    if (id == kBuildTimer) BuildDesks(kBuildSliceMs);
    {
        CLobbyData& data = GetLobbyData();
        LobbyLockGuard hub(data.lobbyLock);
        Hold view(*this);
        CNetEngineEx* engine = data.GetNetEngine();
        // A replaced engine is a lost connection too: the main window may have
        // put a fresh one in place between two ticks.
        const bool lost = engine && (!engine->IsAlive() || data.EngineGeneration() != m_watchedGeneration);
        if (id == kWatchTimer && lost) {
            KillTimer(kWatchTimer);
            PostBox("检测到已经和游戏服务器断开网络连接!正在为你重连...", "错误", 1, 5);
            CRoomHost* host = GetRoomHost();
            if (host && host->GetMainWindow()) ::PostMessageA(host->GetMainWindow(), kMsgMainCommand, 3, 0);
        }
    }
    Default();
}
