// Lobby translator throughput: a room's desk list decoded, a chat request encoded.
#include <benchmark/benchmark.h>

#include "lobby/net/binary/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"

using namespace binform_test;

namespace {

const MsgCodeTable kTable = LobbyTable();

// 30 desks, three players at each of the first 20.
Bytes DeskList() {
    Texts fields = {"1", "30"};
    for (int d = 0; d < 30; ++d) {
        const int players = d < 20 ? 3 : 0;
        fields =
            Join({fields, {"第" + std::to_string(d) + "桌", "31", std::to_string(d), std::to_string(players), "0"}});
        for (int p = 0; p < players; ++p)
            fields = Join({fields, {"u" + std::to_string(d * 3 + p), "玩家昵称", std::to_string(p), "1", "0"}});
    }
    return Pack(CodeOf(kTable, "DeskList"), fields);
}

void DecodeDeskList(benchmark::State& state) {
    const Bytes packet = DeskList();
    for (auto _ : state) {
        CTranslateMsg t(kTable);
        char* text = t.BinaryToXml(packet.data(), static_cast<int>(packet.size()));
        benchmark::DoNotOptimize(text);
        delete[] text;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecodeDeskList);

void EncodeChat(benchmark::State& state) {
    const std::string xml = FlatRequest("Chat", {"0", "255,0,0", "玩家昵称", "room", "", "大家好，来一局斗地主吧"});
    for (auto _ : state) {
        CTranslateMsg t(kTable);
        benchmark::DoNotOptimize(t.XmlToBinary(xml.c_str()));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EncodeChat);

}  // namespace

BENCHMARK_MAIN();
