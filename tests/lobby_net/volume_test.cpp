// Volume through the engine: many frames of random sizes both ways at once.
// A program of its own, so that ctest runs it beside the other engine tests.
// Every send sleeps a millisecond, which a loaded machine stretches, so the
// volume lies in the large frames rather than in their number.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "tests/lobby_net/RecordingEngine.h"
#include "tests/support/LoopbackServer.h"

using namespace testsupport;

namespace {

std::vector<Received> RandomFrames(unsigned seed, int count) {
    std::mt19937 rng(seed);
    std::vector<Received> frames;
    for (int i = 0; i < count; ++i) {
        std::string payload(rng() % (i % 10 == 0 ? 20000 : 600), '\0');
        for (char& c : payload) c = static_cast<char>(rng());
        frames.push_back({static_cast<int>(rng() % 2), payload});
    }
    return frames;
}

TEST(EngineVolume, TwoThousandFramesEachWayArriveInOrderByteForByte) {
    const int kFrames = 2000;
    const std::vector<Received> down = RandomFrames(1, kFrames), up = RandomFrames(2, kFrames);
    std::vector<Received> arrived;
    LoopbackServer server([&](Connection& c) {
        std::thread writer([&] {
            for (const Received& f : down) c.SendFrame(f.kind, f.payload);
        });
        int kind;
        std::string payload;
        while (static_cast<int>(arrived.size()) < kFrames && c.ReadFrame(kind, payload, 30000))
            arrived.push_back({kind, payload});
        writer.join();
        c.WaitClosed(60000);
    });
    RecordingEngine engine;
    engine.Connect("127.0.0.1", static_cast<short>(server.Port()));
    ASSERT_TRUE(engine.record->WaitConnects(1, 5000));
    for (const Received& f : up) {
        if (f.kind)
            engine.SendText(f.payload.data(), static_cast<unsigned>(f.payload.size()));
        else
            engine.SendBinary(f.payload.data(), static_cast<unsigned>(f.payload.size()));
    }
    ASSERT_TRUE(engine.record->WaitFrames(kFrames, 300000));
    engine.Close();
    ASSERT_TRUE(server.WaitHandlersDone(60000));
    ASSERT_EQ(arrived.size(), up.size());
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(arrived[i].kind, up[i].kind) << i;
        ASSERT_EQ(arrived[i].payload, up[i].payload) << i;
        ASSERT_EQ(engine.record->frames[i].kind, down[i].kind) << i;
        ASSERT_EQ(engine.record->frames[i].payload, down[i].payload) << i;
    }
    EXPECT_TRUE(engine.record->errors.empty());
}

}  // namespace
