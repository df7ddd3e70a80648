// Notifications, reflection and exceptions on real common controls.
#include "platform/Framework.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/platform/WindowCapture.h"

namespace {

constexpr int IDC_LIST = 101, IDC_EDIT_PLAIN = 102, IDC_EDIT_OWN = 103, IDC_STATIC_OWN = 104,
              IDC_STATIC_PLAIN = 105, IDC_TREE = 106, IDC_RICH = 107;
constexpr UINT WM_THROW = WM_USER + 50, WM_ANSWER = WM_USER + 51;

std::vector<std::string> g_log;

class CReflectingList : public CListCtrl {
public:
    BOOL stop = TRUE;
    BOOL OnColumnClick(NMHDR* nm, LRESULT*) {
        g_log.push_back("list " + std::to_string(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem));
        return stop;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingList, CListCtrl)
    ON_NOTIFY_REFLECT_EX(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

class COwnEdit : public CEdit {
public:
    void OnChange() { g_log.push_back("edit reflected"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COwnEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

class CGreenStatic : public CStatic {
public:
    CBrush brush{RGB(0, 160, 0)};
    HBRUSH CtlColor(CDC*, UINT kind) { return kind == CTLCOLOR_STATIC ? static_cast<HBRUSH>(brush) : nullptr; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CGreenStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class COwnRichEdit : public CRichEditCtrl {
public:
    void OnChange() { g_log.push_back("rich change"); }
    BOOL OnSelChange(NMHDR*, LRESULT*) {
        g_log.push_back("rich selchange");
        return FALSE;  // the parent hears of it too
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COwnRichEdit, CRichEditCtrl)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
    ON_NOTIFY_REFLECT_EX(EN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

class CParent : public CWnd {
public:
    CBrush red{RGB(200, 0, 0)};
    void OnColumnClick(NMHDR* nm, LRESULT* result) {
        g_log.push_back("parent " + std::to_string(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem));
        *result = 0;
    }
    void OnEditChange() { g_log.push_back("parent edit " + std::to_string(LOWORD(m_pCurrentMsg->wParam))); }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
        if (kind == CTLCOLOR_STATIC && wnd->GetDlgCtrlID() == IDC_STATIC_PLAIN) return red;
        return CWnd::OnCtlColor(dc, wnd, kind);
    }
    void OnTreeSelChanged(NMHDR* nm, LRESULT*) {
        auto* tv = reinterpret_cast<NMTREEVIEWA*>(nm);
        g_log.push_back("tree " + std::to_string(tv->itemNew.lParam));
    }
    void OnRichNotify(UINT id, NMHDR* nm, LRESULT*) {
        g_log.push_back("parent notify " + std::to_string(id) + " " + std::to_string(static_cast<int>(nm->code)));
    }
    void OnEditRange(UINT id) { g_log.push_back("parent range " + std::to_string(id)); }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    LRESULT OnAnswer(WPARAM wp, LPARAM) { return static_cast<LRESULT>(wp) + 1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParent, CWnd)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_LIST, OnColumnClick)
    ON_EN_CHANGE(IDC_EDIT_PLAIN, OnEditChange)
    ON_CONTROL_RANGE(EN_CHANGE, IDC_EDIT_OWN, IDC_EDIT_OWN, OnEditRange)
    ON_WM_CTLCOLOR()
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnTreeSelChanged)
    ON_NOTIFY_RANGE(EN_SELCHANGE, IDC_RICH, IDC_RICH, OnRichNotify)
    ON_MESSAGE(WM_THROW, OnThrow)
    ON_MESSAGE(WM_ANSWER, OnAnswer)
END_MESSAGE_MAP()

const char* ParentClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "DispatchTestParent";
        RegisterClassA(&wc);
        registered = true;
    }
    return "DispatchTestParent";
}

HWND Child(CWnd& parent, const char* cls, const char* text, DWORD style, int id, const CRect& r) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.Width(), r.Height(),
                           parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(parent.CreateEx(0, ParentClass(), "dispatch", WS_POPUP | WS_VISIBLE, CRect(40, 40, 440, 340), nullptr, 0));
    }
    CParent parent;
};

void Click(HWND h, CPoint p) {
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

}  // namespace

TEST_F(Dispatch, ColumnClickReachesTheListFirstThenTheParentWhenLetThrough) {
    CReflectingList list;
    ASSERT_TRUE(list.SubclassWindow(Child(parent, WC_LISTVIEWA, "", LVS_REPORT, IDC_LIST, CRect(0, 0, 300, 150))));
    list.InsertColumn(0, "name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "score", LVCFMT_LEFT, 100);
    CRect column;
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(1, &column));
    HWND header = list.GetHeaderCtrl()->m_hWnd;

    Click(header, column.CenterPoint());
    ASSERT_TRUE(PumpUntil([] { return !g_log.empty(); }));
    PumpMessages(50);
    EXPECT_EQ(g_log, std::vector<std::string>{"list 1"});

    g_log.clear();
    list.stop = FALSE;
    Click(header, column.CenterPoint());
    ASSERT_TRUE(PumpUntil([] { return g_log.size() >= 2; }));
    EXPECT_EQ(g_log, (std::vector<std::string>{"list 1", "parent 1"}));
}

TEST_F(Dispatch, EditChangeByCodeToTheParentOrReflectedToTheControl) {
    HWND plain = Child(parent, "EDIT", "", 0, IDC_EDIT_PLAIN, CRect(0, 160, 150, 180));
    COwnEdit own;
    ASSERT_TRUE(own.SubclassWindow(Child(parent, "EDIT", "", 0, IDC_EDIT_OWN, CRect(160, 160, 300, 180))));
    PostMessageA(plain, WM_CHAR, 'a', 1);
    PostMessageA(own.m_hWnd, WM_CHAR, 'b', 1);
    ASSERT_TRUE(PumpUntil([] { return g_log.size() >= 2; }));
    PumpMessages(50);
    // The reflected handler took the own edit's change: the parent's range entry never saw it.
    EXPECT_EQ(g_log, (std::vector<std::string>{"parent edit 102", "edit reflected"}));
}

TEST_F(Dispatch, StaticColouredByItsReflectedCtlColorElseByTheParent) {
    CGreenStatic own;
    ASSERT_TRUE(own.SubclassWindow(Child(parent, "STATIC", "", SS_LEFT, IDC_STATIC_OWN, CRect(10, 200, 60, 240))));
    Child(parent, "STATIC", "", SS_LEFT, IDC_STATIC_PLAIN, CRect(100, 200, 150, 240));
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Capture shot;
    bool painted = PumpUntil([&] {
        shot = CaptureWindow(parent.m_hWnd);
        return shot.At(35, 220) == RGB(0, 160, 0) && shot.At(125, 220) == RGB(200, 0, 0);
    });
    if (!painted) SavePng(shot, "dispatch_ctlcolor");
    EXPECT_TRUE(painted) << std::hex << shot.At(35, 220) << " " << shot.At(125, 220);
}

namespace {
std::vector<std::string> g_logged;
void Record(const char* line) { g_logged.push_back(line); }
}  // namespace

TEST_F(Dispatch, ExceptionFromAHandlerIsLoggedAndTheWindowKeepsAnswering) {
    AfxSetLogSink(&Record);
    g_logged.clear();
    // The default answer: DefWindowProc's for a private message.
    EXPECT_EQ(parent.SendMessage(WM_THROW), 0);
    ASSERT_EQ(g_logged.size(), 1u);
    EXPECT_NE(g_logged[0].find("0x0432"), std::string::npos) << g_logged[0];
    EXPECT_NE(g_logged[0].find("handler failed"), std::string::npos);
    // Also through the message loop, then the window still answers.
    parent.PostMessage(WM_THROW);
    ASSERT_TRUE(PumpUntil([] { return g_logged.size() == 2; }));
    EXPECT_EQ(parent.SendMessage(WM_ANSWER, 6), 7);
    AfxSetLogSink(nullptr);
}

TEST_F(Dispatch, TreeAndRichEditNotificationsReachTheirHandlers) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 200, 150), &parent, IDC_TREE));
    HTREEITEM first = tree.InsertItem("first");
    HTREEITEM second = tree.InsertItem("second");
    tree.SetItemData(first, 1);
    tree.SetItemData(second, 2);
    CRect r;
    ASSERT_TRUE(tree.GetItemRect(second, &r, TRUE));
    Click(tree.m_hWnd, r.CenterPoint());
    ASSERT_TRUE(PumpUntil([] { return !g_log.empty() && g_log.back() == "tree 2"; }));

    g_log.clear();
    COwnRichEdit rich;
    ASSERT_TRUE(rich.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 160, 300, 280), &parent, IDC_RICH));
    rich.SetEventMask(ENM_CHANGE | ENM_SELCHANGE);
    PostMessageA(rich.m_hWnd, WM_CHAR, 'x', 1);
    auto has = [](const char* s) { return std::find(g_log.begin(), g_log.end(), s) != g_log.end(); };
    ASSERT_TRUE(PumpUntil([&] { return has("rich change") && has("rich selchange"); })) << g_log.size();
    std::string parentSaw = "parent notify " + std::to_string(IDC_RICH) + " " + std::to_string(EN_SELCHANGE);
    EXPECT_TRUE(has(parentSaw.c_str()));
    EXPECT_EQ(rich.GetTextRange(0, 1), CString("x"));
}

TEST_F(Dispatch, FlatScrollBarFunctionsLinkAndServeTheList) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 60), &parent, IDC_LIST));
    list.InsertColumn(0, "n", LVCFMT_LEFT, 100);
    for (int i = 0; i < 30; ++i) list.InsertItem(i, "row");
    InitializeFlatSB(list.m_hWnd);
    list.Scroll(CSize(0, 100));
    EXPECT_GT(FlatSB_GetScrollPos(list.m_hWnd, SB_VERT), 0);
    EXPECT_TRUE(FlatSB_EnableScrollBar(list.m_hWnd, SB_BOTH, ESB_DISABLE_BOTH));
    UninitializeFlatSB(list.m_hWnd);
}
