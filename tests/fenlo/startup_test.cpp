// The client's command line, its pictures, window regions and sounds.
#include <gtest/gtest.h>

#include "game/core/ClientCommandLine.h"
#include "game/core/GameSession.h"
#include "game/ui/GameImages.h"
#include "game/ui/GameTableSide.h"
#include "game/ui/ImageRegion.h"
#include "game/ui/MciSound.h"
#include "platform/vantor/CxImage.h"

namespace {

// The session's fields after the line, "-" when it is refused.
std::string Fields(const char* line) {
    CGameSession s(CString("C:\\nowhere"));
    if (!ApplyCommandLine(CString(line), s)) return "-";
    return s.serverHost + "|" + s.playerId + "|" + std::to_string(s.serverPort) + "|" + s.roomId + "|" + s.validation +
           "|" + std::to_string(s.vipFlag) + "|" + s.reconnectHost + "|" + std::to_string(s.reconnectPort) + "|" +
           std::to_string(s.autoPlacedFlag) + "|" + s.field9Text + "|" + s.field10Text + "|vip " +
           std::to_string(s.vipEnterFlag) + " " + s.vipPassword + " " + s.vipGameId + " " + s.vipMinMoney + " " +
           s.vipStake + "|" + s.displayName;
}

TEST(ClientCommandLine, FieldsVipModesAndTheDisplayName) {
    // As the lobby writes it for a room where the server places the player,
    // and the same with extra blanks.
    const std::string lobby = "10.0.0.5|alice|7001|31|v4l1d|0|10.0.0.6|7002|1|0|0|vip 0    |alice";
    EXPECT_EQ(Fields(" 10.0.0.5 alice 7001 31 v4l1d 0 10.0.0.6 7002 1 0 0"), lobby);
    EXPECT_EQ(Fields("  10.0.0.5 alice  7001 31   v4l1d 0 10.0.0.6 7002 1 0 0  "), lobby);
    // Any flag but "0" is 1; the desk view's seat click puts desk and seat last.
    EXPECT_EQ(Fields("h p 1 r v yes 0 0 0 12 2"), "h|p|1|r|v|1|0|0|0|12|2|vip 0    |p");

    EXPECT_EQ(Fields("h p 1 r v 0 0 0 1 0"), "-");
    EXPECT_EQ(Fields("h p 1 r v 0 0 0 1 0 0 a b c d e f"), "-");
    EXPECT_EQ(Fields("h\tp 1 r v 0 0 0 1 0 0"), "-") << "tabs do not separate";
    const char* b = "h|p|1|r|v|";
    const std::string tail = "|0|0|1|0|0|vip ";
    EXPECT_EQ(Fields("h p 1 r v 0 0 0 1 0 0 Nick"), b + std::string("0") + tail + "0    |Nick");
    EXPECT_EQ(Fields("h p 1 r v 1 0 0 1 0 0 Nick"), b + std::string("1") + tail + "0    |Nick");
    EXPECT_EQ(Fields("h p 1 r v 1 0 0 1 0 0 pw g9"), b + std::string("1") + tail + "1 pw g9  |p");
    EXPECT_EQ(Fields("h p 1 r v 0 0 0 1 0 0 pw g9"), b + std::string("0") + tail + "0    |g9");
    EXPECT_EQ(Fields("h p 1 r v 1 0 0 1 0 0 pw g9 x Nick"), b + std::string("1") + tail + "1 pw g9  |Nick");
    EXPECT_EQ(Fields("h p 1 r v 1 0 0 1 0 0 pw 500 20"), b + std::string("1") + tail + "0 pw  500 20|p");
    EXPECT_EQ(Fields("h p 1 r v 1 0 0 1 0 0 pw 500 20 unused Nick"), b + std::string("1") + tail + "0 pw  500 20|Nick");
}

TEST(ClientCommandLine, PortsThatAreNoNumbers) {
    for (const char* port : {"port", "0", "70000", "-5"})
        EXPECT_EQ(Fields(("h p " + std::string(port) + " r v 0 0 0 1 0 0").c_str()), "-") << port;
    EXPECT_EQ(Fields("h p 7001x r v 0 0 0 1 0 0").substr(0, 9), "h|p|7001|") << "reading stops at the x";
    // A reconnect port that is no number counts as none.
    EXPECT_EQ(Fields("h p 7001 r v 0 h2 none 1 0 0").substr(0, 21), "h|p|7001|r|v|0|h2|0|1");
}

// The region's pixels, row by row: '#' inside, '.' outside.
std::string RegionMap(HRGN region, int w, int h) {
    std::string map;
    for (int y = 0; y < h; ++y, map += '/')
        for (int x = 0; x < w; ++x) map += PtInRegion(region, x, y) ? '#' : '.';
    DeleteObject(region);
    return map;
}

TEST(ImageRegion, KeyColourOrAlphaCutsTheShape) {
    EXPECT_EQ(CreateRegionFromImage(nullptr), nullptr);
    // A magenta border around an orange block with one near-magenta pixel.
    CxImage keyed("testdata\\vantor\\keyed.bmp", CXIMAGE_FORMAT_BMP);
    EXPECT_EQ(RegionMap(CreateRegionFromImage(&keyed, RGB(1, 2, 3), 7), 6, 4), "....../.####./.####./....../");
    // Alpha 255, 128, 0, 255 along the top row, opaque below.
    CxImage alpha("testdata\\vantor\\rgba.png", CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(RegionMap(CreateRegionFromImage(&alpha), 4, 2), "#..#/####/");
}

TEST(MciSound, AFileThatIsNotThereDoesNotPlay) {
    EXPECT_EQ(PlayMciSound("fenlo\\sound\\no_such_sound.wav"), 0);
    EXPECT_EQ(PlayMciSound("C:\\no such folder\\clock.wav"), 0);
}

TEST(GameImages, FacesLoadFromTheirNumberedFiles) {
    EXPECT_EQ(CGameImages::FacePath(51), "fenlo\\image\\poker\\card15_4.png");
    EXPECT_EQ(CGameImages::FacePath(52), "fenlo\\image\\poker\\card16.png");
    EXPECT_EQ(CGameImages::FacePath(53), "fenlo\\image\\poker\\card17.png");
    // The tests run beside the programs, where the build put the pictures.
    InstallGameTableSide();
    CGameSession session;
    ASSERT_EQ(session.CreateImages(), 1);
    auto* images = dynamic_cast<CGameImages*>(session.GetImages());
    ASSERT_NE(images, nullptr);
    for (int entry : {CGameImages::kFirstFace, CGameImages::kFirstFace + 53, CGameImages::kFirstBack + 1, 189})
        EXPECT_TRUE(images->Get(entry) && images->Get(entry)->IsValid()) << entry;
    EXPECT_EQ(images->Get(CGameImages::kEntryCount), nullptr);
}

}  // namespace
