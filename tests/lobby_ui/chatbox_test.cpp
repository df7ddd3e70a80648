// The chat box with ImageOle.dll registered through regsvr32: one embedded
// picture per known code, the rest as text, a missing GIF as its code's text
// with its error kept to be told once.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <ole2.h>

#include <string>

#include "LobbyUiTest.h"
#include "lobby/ui/ExRichEdit.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/GifOleCheck.h"
#include "tests/support/MessageBoxWatcher.h"

namespace {

// Letters, digits and slashes of the box's text: the pictures and line ends left out.
std::string PlainText(CExRichEdit& box) {
    CString all;
    box.GetWindowText(all);
    std::string out;
    for (const char* p = all; *p; ++p)
        if (isalnum(static_cast<unsigned char>(*p)) || *p == '/') out += *p;
    return out;
}

}  // namespace

TEST(ChatBox, EmotesThroughTheRegisteredControl) {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    CSkinRes* skin = LoadedSkin();
    RegisterImageOle(false);
    EXPECT_EQ(IsGifOleControlAvailable(), 0);
    ASSERT_EQ(RegisterImageOle(true), 0u);
    EXPECT_EQ(IsGifOleControlAvailable(), 1);

    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(400, 40, 700, 240), nullptr, 0));
    CExRichEdit box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | WS_VSCROLL, CRect(0, 0, 300, 200),
                           &parent, 1016));
    EXPECT_EQ(box.AppendMessage("x", 0), -1);  // no emote table yet
    box.SetEmoteTable(&skin->GetFaceTable());
    EXPECT_EQ(box.AppendMessage("", 0), -1);
    EXPECT_EQ(box.AppendMessage("a/wx1b/zzzc/ku1/ku1\r\n", RGB(200, 0, 0)), 0);
    EXPECT_EQ(box.GetObjectCount(), 3);
    EXPECT_EQ(PlainText(box), "ab/zzzc");

    // A code whose GIF is missing shows as its text; the failure is kept for
    // the caller to tell once, with no box here (the caller may hold a lock).
    StringTable missing;
    missing.Add("/mis", "C:\\no\\such.gif");
    box.SetEmoteTable(&missing);
    {
        testsupport::MessageBoxWatcher watcher;
        box.AppendMessage("before/misafter", 0);
        box.AppendMessage("/mis", 0);
        PumpMessages(300);
        EXPECT_TRUE(watcher.Texts().empty()) << watcher.Texts()[0];
    }
    EXPECT_FALSE(box.TakeGifError().IsEmpty());
    EXPECT_TRUE(box.TakeGifError().IsEmpty()) << "once";
    EXPECT_EQ(box.GetObjectCount(), 3);
    EXPECT_EQ(PlainText(box), "ab/zzzcbefore/misafter/mis");
    PumpMessages(300);
    SavePng(CaptureWindow(box.m_hWnd), "chatbox");

    box.Clear();
    EXPECT_EQ(box.GetObjectCount(), 0);
    box.DestroyWindow();
    parent.DestroyWindow();
    RegisterImageOle(false);
}
