// The client's command line, its pictures, window regions and sounds.
#include <gtest/gtest.h>

#include "game/core/ClientCommandLine.h"
#include "game/core/GameSession.h"
#include "game/core/ImageRegion.h"
#include "game/core/MciSound.h"
#include "game/ui/GameImages.h"
#include "platform/vantor/CxImage.h"
#include "tests/fenlo/FenloTestKit.h"

using namespace fenlo_test;

namespace {

struct Parsed {
    bool accepted;
    std::unique_ptr<CGameSession> session;
};

Parsed Parse(const char* line) {
    Parsed p{false, std::unique_ptr<CGameSession>(new CGameSession(CString("C:\\nowhere")))};
    p.accepted = ApplyCommandLine(CString(line), *p.session);
    return p;
}

TEST(ClientCommandLine, TheLobbysElevenFieldsLandInTheSession) {
    // As the lobby writes them for a room where the server places the player.
    for (const char* line : {" 10.0.0.5 alice 7001 31 v4l1d 0 10.0.0.6 7002 1 0 0",
                             "  10.0.0.5 alice  7001 31   v4l1d 0 10.0.0.6 7002 1 0 0  "}) {
        Parsed p = Parse(line);
        ASSERT_TRUE(p.accepted) << line;
        const CGameSession& s = *p.session;
        EXPECT_EQ(s.serverHost, "10.0.0.5");
        EXPECT_EQ(s.playerId, "alice");
        EXPECT_EQ(s.serverPort, 7001);
        EXPECT_EQ(s.roomId, "31");
        EXPECT_EQ(s.validation, "v4l1d");
        EXPECT_EQ(s.vipFlag, 0);
        EXPECT_EQ(s.reconnectHost, "10.0.0.6");
        EXPECT_EQ(s.reconnectPort, 7002);
        EXPECT_EQ(s.autoPlacedFlag, 1);
        EXPECT_EQ(s.field9Text, "0");
        EXPECT_EQ(s.field10Text, "0");
        EXPECT_EQ(s.vipEnterFlag, 0);
        EXPECT_EQ(s.displayName, "alice");
    }
    // The desk view's seat click: "0", desk and seat last; any non-"0" flag is 1.
    Parsed seat = Parse("h p 1 r v yes 0 0 0 12 2");
    ASSERT_TRUE(seat.accepted);
    EXPECT_EQ(seat.session->vipFlag, 1);
    EXPECT_EQ(seat.session->autoPlacedFlag, 0);
    EXPECT_EQ(seat.session->field9Text + "/" + seat.session->field10Text, "12/2");
}

TEST(ClientCommandLine, FieldCountsChooseTheVipFieldsAndTheDisplayName) {
    const char* base = "h p 1 r v ";
    auto line = [&](const char* vip, const char* rest) { return std::string(base) + vip + " 0 0 1 0 0" + rest; };
    EXPECT_FALSE(Parse("h p 1 r v 0 0 0 1 0").accepted);  // ten
    EXPECT_FALSE(Parse(line("0", " a b c d e f").c_str()).accepted);  // seventeen
    EXPECT_FALSE(Parse("h\tp 1 r v 0 0 0 1 0 0").accepted) << "tabs do not separate";

    EXPECT_EQ(Parse(line("0", " Nick").c_str()).session->displayName, "Nick");
    EXPECT_EQ(Parse(line("1", " Nick").c_str()).session->displayName, "Nick");

    Parsed enter = Parse(line("1", " pw g9").c_str());
    EXPECT_EQ(enter.session->vipEnterFlag, 1);
    EXPECT_EQ(enter.session->vipPassword, "pw");
    EXPECT_EQ(enter.session->vipGameId, "g9");
    EXPECT_EQ(enter.session->displayName, "p");
    EXPECT_EQ(Parse(line("0", " pw g9").c_str()).session->displayName, "g9");
    EXPECT_EQ(Parse(line("1", " pw g9 x Nick").c_str()).session->displayName, "Nick");

    Parsed create = Parse(line("1", " pw 500 20 unused Nick").c_str());
    EXPECT_EQ(create.session->vipEnterFlag, 0);
    EXPECT_EQ(create.session->vipPassword, "pw");
    EXPECT_EQ(create.session->vipMinMoney, "500");
    EXPECT_EQ(create.session->vipStake, "20");
    EXPECT_EQ(create.session->displayName, "Nick");
    EXPECT_EQ(Parse(line("1", " pw 500 20").c_str()).session->displayName, "p");
}

TEST(ClientCommandLine, APortThatIsNoNumber) {
    EXPECT_FALSE(Parse("h p port r v 0 0 0 1 0 0").accepted);
    EXPECT_FALSE(Parse("h p 0 r v 0 0 0 1 0 0").accepted);
    EXPECT_FALSE(Parse("h p 70000 r v 0 0 0 1 0 0").accepted);
    Parsed untouched = Parse("h p -5 r v 0 0 0 1 0 0");
    EXPECT_FALSE(untouched.accepted);
    EXPECT_EQ(untouched.session->serverHost, "");
    EXPECT_EQ(Parse("h p 7001x r v 0 0 0 1 0 0").session->serverPort, 7001) << "reading stops at the x";
    // A reconnect port that is no number counts as none.
    Parsed noReconnect = Parse("h p 7001 r v 0 h2 none 1 0 0");
    ASSERT_TRUE(noReconnect.accepted);
    EXPECT_EQ(noReconnect.session->reconnectPort, 0);
}

// Pixels of a region, row by row, as '#' (inside) and '.' (outside).
std::string RegionMap(HRGN region, int w, int h) {
    std::string map;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) map += PtInRegion(region, x, y) ? '#' : '.';
        map += '/';
    }
    return map;
}

TEST(ImageRegion, KeyColourOrAlphaCutsTheShape) {
    EXPECT_EQ(CreateRegionFromImage(nullptr), nullptr);
    // A magenta border around an orange block; one pixel is near magenta only.
    CxImage keyed("testdata\\vantor\\keyed.bmp", CXIMAGE_FORMAT_BMP);
    ASSERT_TRUE(keyed.IsValid());
    HRGN region = CreateRegionFromImage(&keyed, RGB(1, 2, 3), 7);
    EXPECT_EQ(RegionMap(region, 6, 4), "....../.####./.####./....../");
    DeleteObject(region);
    // Alpha 255, 128, 0, 255 along the top row, opaque below.
    CxImage alpha("testdata\\vantor\\rgba.png", CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(alpha.AlphaIsValid());
    region = CreateRegionFromImage(&alpha);
    EXPECT_EQ(RegionMap(region, 4, 2), "#..#/####/");
    DeleteObject(region);
}

TEST(MciSound, AFileThatIsNotThereDoesNotPlay) {
    EXPECT_EQ(PlayMciSound("fenlo\\sound\\no_such_sound.wav"), 0);
    EXPECT_EQ(PlayMciSound("C:\\no such folder\\clock.wav"), 0);
}

TEST(GameImages, FacesLoadFromTheirNumberedFiles) {
    EXPECT_EQ(CGameImages::FacePath(0), "fenlo\\image\\poker\\card3_1.png");
    EXPECT_EQ(CGameImages::FacePath(51), "fenlo\\image\\poker\\card15_4.png");
    EXPECT_EQ(CGameImages::FacePath(52), "fenlo\\image\\poker\\card16.png");
    EXPECT_EQ(CGameImages::FacePath(53), "fenlo\\image\\poker\\card17.png");
    // The tests run beside the programs, where the build put the pictures.
    CGameSession session;
    ASSERT_EQ(session.CreateImages(), 1);
    CGameImages* images = session.GetImages();
    ASSERT_NE(images, nullptr);
    for (int entry : {CGameImages::kFirstFace, CGameImages::kFirstFace + 53, CGameImages::kFirstBack, 176, 189}) {
        ASSERT_NE(images->Get(entry), nullptr) << entry;
        EXPECT_TRUE(images->Get(entry)->IsValid()) << entry;
    }
    EXPECT_EQ(images->Get(0), nullptr);
    EXPECT_EQ(images->Get(CGameImages::kEntryCount), nullptr);
}

}  // namespace
