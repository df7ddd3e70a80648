// The hostile generator: repeatable, whole frames from Next(), every kind drawn.
#include <gtest/gtest.h>

#include <set>

#include "tools/servers/Hostile.h"
#include "tools/servers/LobbyHostile.h"

namespace {

using servers::HostileFrame;
using servers::HostileGenerator;
using servers::HostileKind;

size_t Announced(const std::string& frame) {
    size_t n = 0;
    for (int i = 3; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(frame[static_cast<size_t>(i)]);
    return n;
}

TEST(Hostile, SameSeedSameFramesAndEveryFrameWhole) {
    HostileGenerator a(servers::LobbyVocabulary(), 7), b(servers::LobbyVocabulary(), 7), c(servers::LobbyVocabulary(), 8);
    a.SetWeight(HostileKind::kExtreme, 0);
    b.SetWeight(HostileKind::kExtreme, 0);
    c.SetWeight(HostileKind::kExtreme, 0);
    std::set<HostileKind> kinds;
    bool differs = false;
    for (int i = 0; i < 600; ++i) {
        const HostileFrame x = a.Next(), y = b.Next(), z = c.Next();
        ASSERT_EQ(x.bytes, y.bytes) << i;
        differs = differs || x.bytes != z.bytes;
        ASSERT_GE(x.bytes.size(), 5u);
        ASSERT_EQ(Announced(x.bytes), x.bytes.size() - 5) << servers::HostileKindName(x.kind);
        EXPECT_FALSE(x.reset);
        kinds.insert(x.kind);
    }
    EXPECT_TRUE(differs);
    EXPECT_EQ(kinds.size(), static_cast<size_t>(HostileKind::kExtreme)) << "every kind but the extremes";
}

TEST(Hostile, EndingsBreakTheStreamAndExtremesAreBig) {
    HostileGenerator g(servers::LobbyVocabulary(), 3);
    std::set<HostileKind> kinds;
    for (int i = 0; i < 60; ++i) {
        const HostileFrame f = g.Ending();
        kinds.insert(f.kind);
        if (f.kind == HostileKind::kHugeLength) {
            EXPECT_GE(Announced(f.bytes), 0x01000001u);
        }
        if (f.kind == HostileKind::kCutFrame) {
            EXPECT_LT(f.bytes.size(), Announced(f.bytes) + 5);
        }
    }
    EXPECT_EQ(kinds.size(), 3u);
    const HostileFrame rooms = g.Make(HostileKind::kManyAttributes);
    EXPECT_GT(rooms.bytes.size(), 500000u);
    EXPECT_EQ(Announced(rooms.bytes), rooms.bytes.size() - 5);
    EXPECT_GT(g.Vocabulary().extremes.front()().Xml().size(), 5000000u) << "100 000 rooms";
}

}  // namespace
