// Skin value reader, line wrapper, link mark, glow, hit test, frame loops and
// the frame pictures made from drawings over black and white.
#include <gtest/gtest.h>

#include <vector>

#include "lobby/ui/FramePixels.h"
#include "lobby/ui/SkinGeometry.h"
#include "lobby/ui/SkinText.h"

TEST(SkinText, ColourTokens) {
    EXPECT_EQ(ParseSkinColor("0  255 0"), 0xFF0000u);  // empty second token is 0, blue 255
    EXPECT_EQ(ParseSkinColor("300 1 2"), 0x02012Cu);   // 300 keeps its low byte: 44
    EXPECT_EQ(ParseSkinColor(""), 0u);
    int r[4];
    ParseSkinNumbers("1\t2 3", r, 4);
    EXPECT_EQ(r[2], 3);
    EXPECT_EQ(r[3], 0);
    // A two-byte character is one piece; a lone lead byte at the end stays in bounds.
    SkinTokenReader reader("a\xB0\xA0 \xB1");
    std::string t;
    ASSERT_TRUE(reader.Next(t));
    EXPECT_EQ(t, "a\xB0\xA0");
    ASSERT_TRUE(reader.Next(t));
    EXPECT_EQ(t, "\xB1");
    EXPECT_FALSE(reader.Next(t));
    SkinTokenReader pair("\xB0 x");  // a pair's second byte is never a separator
    ASSERT_TRUE(pair.Next(t));
    EXPECT_EQ(t, "\xB0 x");
}

TEST(SkinText, WrapText) {
    std::string line(100, 'a');
    EXPECT_EQ(WrapText(line + " ", 48), std::string(48, 'a') + "\r\n" + std::string(48, 'a') + "\r\n" + "aaaa");
    std::string pair = std::string(47, 'a') + "\xB0\xA1" + "bb ";
    EXPECT_EQ(WrapText(pair, 48), std::string(47, 'a') + "\xB0\xA1\r\nbb");
    EXPECT_EQ(WrapText("ab\ncd ", 3), "ab\ncd");
    EXPECT_EQ(WrapText("", 48), "");
}

TEST(SkinText, LinkSplitAndHimetric) {
    std::string m, l, a;
    ASSERT_TRUE(SplitMessageLink("abc$here,addr$tail", m, l, a));
    EXPECT_EQ(m, "abc");
    EXPECT_EQ(l, "here");
    EXPECT_EQ(a, "addr");
    EXPECT_FALSE(SplitMessageLink("abc$here,addr", m, l, a));
    EXPECT_FALSE(SplitMessageLink("abc$hereaddr$x", m, l, a));
    EXPECT_FALSE(SplitMessageLink("a,b$c$", m, l, a));
    EXPECT_EQ(HimetricToPixels(100, 96), 4);
    EXPECT_EQ(HimetricToPixels(50, 96), 2);
}

TEST(SkinGeometry, Glow) {
    const uint32_t K = 0xFFFF00FF, T = 0xFF123456, G = 0xABCDEF;
    const uint32_t full = 0xFF000000 | G, half = 0x7F000000 | G;
    std::vector<uint32_t> src(5 * 5, K), dst(25, 1);
    src[2 * 5 + 2] = T;
    MakeGlowPixels(src.data(), dst.data(), 5, 5, G, 0xFF00FF);
    EXPECT_EQ(dst[12], T);
    EXPECT_EQ(dst[7], full);
    EXPECT_EQ(dst[11], full);
    EXPECT_EQ(dst[6], half);
    EXPECT_EQ(dst[0], 0u);
    // Scan order: (3,2) turns (2,1), full from (1,1), to half, and its
    // direct neighbour (2,2), half from (1,1), to full.
    std::vector<uint32_t> s2(6 * 4, K), d2(24);
    s2[1 * 6 + 1] = T;  // (1,1)
    s2[2 * 6 + 3] = T;  // (3,2): its diagonal (2,1) was full from (1,1)
    MakeGlowPixels(s2.data(), d2.data(), 6, 4, G, 0xFF00FF);
    EXPECT_EQ(d2[1 * 6 + 2], half);
    EXPECT_EQ(d2[2 * 6 + 2], full);
    // Smaller than 3 pixels: nothing.
    std::vector<uint32_t> s3(2 * 8, T), d3(16, 5);
    MakeGlowPixels(s3.data(), d3.data(), 2, 8, G, 0xFF00FF);
    for (uint32_t p : d3) EXPECT_EQ(p, 0u);
}

TEST(SkinGeometry, HitTest) {
    SkinFrameLayout f;
    f.width = 300, f.height = 200, f.title = 30, f.left = 6, f.right = 6, f.bottom = 27;
    f.close = {272, 5, 294, 25};
    f.maximize = {250, 5, 272, 25};
    f.minimize = {228, 5, 250, 25};
    f.minBox = f.maxBox = f.sizable = true;
    struct { int x, y, code; } grid[] = {
        {280, 10, kHitClose}, {240, 10, kHitMinButton}, {260, 10, kHitMaxButton}, {10, 10, kHitSysMenu},
        {2, 2, kHitTopLeft}, {297, 2, kHitTopRight}, {2, 190, kHitBottomLeft}, {297, 190, kHitBottomRight},
        {2, 100, kHitLeft}, {297, 100, kHitRight}, {150, 190, kHitBottom}, {150, 2, kHitTop},
        {150, 20, kHitCaption}, {150, 100, kHitClient}};
    for (auto& g : grid) EXPECT_EQ(SkinHitTest(f, g.x, g.y), g.code) << g.x << "," << g.y;
    f.maximized = true;  // no sizing codes, the top band is caption
    EXPECT_EQ(SkinHitTest(f, 2, 100), kHitClient);
    EXPECT_EQ(SkinHitTest(f, 150, 2), kHitClient);
    EXPECT_EQ(SkinHitTest(f, 150, 20), kHitCaption);
    f.maximized = false, f.sizable = f.minBox = f.maxBox = false;  // fixed
    EXPECT_EQ(SkinHitTest(f, 297, 2), kHitClient);
    EXPECT_EQ(SkinHitTest(f, 240, 10), kHitCaption);
    EXPECT_EQ(SkinHitTest(f, 280, 10), kHitClose);
}

TEST(SkinGeometry, FrameLoops) {
    SkinRect fill;
    auto tiles = LayTileFrame(0, 0, 99, 49, 16, 16, fill);
    EXPECT_EQ(fill.left, 16);
    EXPECT_EQ(fill.right, 84);  // inclusive right: 99 - 16 + 1
    EXPECT_EQ(tiles.back().x, 84);
    int edges = 0;
    for (auto& t : tiles) edges += t.tile == 1;
    EXPECT_EQ(edges, (99 - 32) / 16 + 1);
    auto narrow = LayTileFrame(0, 0, 31, 31, 16, 16, fill);
    EXPECT_EQ(narrow.size(), 4u);  // corners only
    auto strip = LayTiledStrip(0, 25, 10);
    ASSERT_EQ(strip.size(), 3u);
    EXPECT_EQ(strip[2].x, 20);
    EXPECT_EQ(strip[2].width, 5);
    auto slice = LayThreeSlice(0, 40, 30);  // t = 10
    ASSERT_EQ(slice.size(), 4u);
    EXPECT_EQ(slice[1].srcX, 10);
    EXPECT_EQ(slice[1].width, 20);
    EXPECT_EQ(slice[3].x, 30);
    EXPECT_EQ(slice[3].srcX, 20);
    auto small = LayThreeSlice(0, 15, 30);  // narrower than two thirds
    ASSERT_EQ(small.size(), 2u);
    EXPECT_EQ(small[1].srcX, 25);
    EXPECT_EQ(small[1].width, 5);
}

TEST(FramePixels, CoveredLeftAndBlendedPixels) {
    // Rows 0 and 1: left alone, covered, covered, blended (alpha 128 of
    // 0x204060): one band of two runs. Row 2: left alone only.
    const uint32_t blendB = 0x102030, blendW = 0x8F9FAF;  // c*a/255, c*a/255 + 127
    uint32_t picture[12] = {0, 0xAA112233, 0x445566, blendB, 0, 0xAA112233, 0x445566, blendB, 0, 0, 0, 0};
    const uint32_t white[12] = {0xFFFFFF, 0x112233, 0x445566, blendW, 0xFFFFFF, 0x112233, 0x445566, blendW,
                                0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    std::vector<FrameOp> ops = SplitFramePixels(picture, white, 4, 3);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_FALSE(ops[0].blend);
    EXPECT_EQ(ops[0].x, 1);
    EXPECT_EQ(ops[0].y, 0);
    EXPECT_EQ(ops[0].width, 2);
    EXPECT_EQ(ops[0].height, 2);
    EXPECT_TRUE(ops[1].blend);
    EXPECT_EQ(ops[1].x, 3);
    EXPECT_EQ(picture[1], 0xAA112233u) << "covered pixels as drawn";
    EXPECT_EQ(picture[3] >> 24, 128u);
    EXPECT_EQ(picture[3] & 0xFFFFFFu, blendB);
    // Nothing drawn: no ops; many runs in a row: one blend over the row.
    uint32_t none[2] = {0, 0};
    const uint32_t noneW[2] = {0xFFFFFF, 0xFFFFFF};
    EXPECT_TRUE(SplitFramePixels(none, noneW, 2, 1).empty());
    uint32_t dotsB[40], dotsW[40];
    for (int x = 0; x < 40; ++x) dotsB[x] = x % 2 ? 0x123456 : 0, dotsW[x] = x % 2 ? 0x123456 : 0xFFFFFF;
    ops = SplitFramePixels(dotsB, dotsW, 40, 1);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_TRUE(ops[0].blend);
    EXPECT_EQ(ops[0].x, 1);
    EXPECT_EQ(dotsB[1], 0xFF123456u);
    EXPECT_EQ(dotsB[2], 0u);
}
