// Game translator throughput: a game result decoded, a five-card play encoded.
#include <benchmark/benchmark.h>

#include "game/core/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"

using namespace binform_test;

namespace {

const MsgCodeTable kTable = GameTable();

// Three players; the losers still hold 4 and 7 cards.
Bytes GameResult() {
    Texts fields;
    const int left[] = {0, 4, 7};
    for (int k = 0; k < 3; ++k) {
        fields = Join({fields, {"u" + std::to_string(k), k ? "-200" : "400", "1", "0", "10", std::to_string(left[k])}});
        for (int c = 0; c < left[k]; ++c) fields = Join({fields, {std::to_string(3 + c), std::to_string(c % 4 + 1)}});
    }
    return Pack(CodeOf(kTable, "GameResult"), fields);
}

void DecodeGameResult(benchmark::State& state) {
    const Bytes packet = GameResult();
    for (auto _ : state) {
        CTranslateMsg t(kTable);
        char* text = t.BinaryToXml(packet.data(), static_cast<int>(packet.size()));
        benchmark::DoNotOptimize(text);
        delete[] text;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecodeGameResult);

void EncodeChuPai(benchmark::State& state) {
    std::vector<Elem> play = {{"player", {"id"}, {"10086"}}};
    for (int c = 0; c < 5; ++c) play.push_back({"card", {"number", "suit"}, {std::to_string(3 + c), "1"}});
    const std::string xml = Request("ChuPai", play, "");
    for (auto _ : state) {
        CTranslateMsg t(kTable);
        benchmark::DoNotOptimize(t.XmlToBinary(xml.c_str(), static_cast<int>(xml.size())));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EncodeChuPai);

}  // namespace

BENCHMARK_MAIN();
