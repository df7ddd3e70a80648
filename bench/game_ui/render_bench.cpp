// bench_fenlo_render.exe [runs]: run from the bin folder. A busy table (three
// seats, full hands, played cards, the clock running, a bomb film at the head
// of the effects):
//   the render pass as the table's own ticks make it (each tick's dirty
//     rectangles: the clock, the film's frame...), the figure of the goal;
//   a full render pass (everything dirty), and the background and the copy
//     alone,
// each the median of many passes as copies of the table's size measured in
// the same run.
#include "tests/fenlo/TableHarness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/CopyRatio.h"

using namespace fenlo_test;

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    TableHarness h;
    h.Deal();
    CTableState& s = h.State();
    s.highestBid = 3;
    s.doubleCount = 4;
    int suit = 0;
    for (CPlayerInfo* p : {s.GetNextPlayer(), s.GetPrevPlayer()}) {
        p->cardCount = 17;
        p->lastPlay = new CCardSet;
        for (int n = 9; n <= 13; ++n) p->lastPlay->AddCard(s.Card(n, suit));
        ++suit;
    }
    CPlayerInfo* own = s.Own();
    own->lastPlay = new CCardSet;
    own->lastPlay->AddCard(s.Card(14, 2));
    h.Game().SetPhase(14);
    h.Game().PlacePlayerPrompt("bob");
    h.Game().StartClock(60000);
    s.bombs = 2;
    h.table->QueueEffect(0);
    h.Tick();

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    const RECT& r = h.table->TableRect();
    const int W = r.right, H = r.bottom;
    if (W <= 0 || H <= 0) {
        std::fprintf(stderr, "the table did not come up\n");
        return 1;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(screen, W, H);
    HGDIOBJ old = SelectObject(target, bitmap);
    auto render = [&] {
        h.table->Render(CDC::FromHandle(target));
        GdiFlush();
    };
    const double copy = bench::CopyMs(W, H);
    bool met = true;
    for (int round = 0; round < 3; ++round) {
        // The table's ticks: each one's dirty list as the game and the window's
        // animations leave it, rendered.
        std::vector<double> ms;
        int dirty = 0;
        for (int i = 0; i < runs; ++i) {
            TableHarness::now += 25;
            if (h.Game().Tick()) h.table->TickAnimations();
            if (h.Game().Effects().Empty()) h.table->QueueEffect(0);  // the film runs on
            for (const DirtyRect& d : h.Game().Dirty().Rects()) dirty += (d.right - d.left) * (d.bottom - d.top);
            const double t0 = bench::NowMs();
            render();
            ms.push_back(bench::NowMs() - t0);
        }
        char what[160];
        std::snprintf(what, sizeof what, "render pass of the busy table as its ticks make it (%d ticks, %.0f%% of the table dirty)",
                      runs, 100.0 * dirty / runs / (W * H));
        met &= bench::PrintRatio(what, bench::Median(ms), copy, W, H, 5);
        bench::PrintRatio("full render pass of the busy table (everything dirty)", bench::MedianMs(runs, [&] {
                              h.Game().Dirty().Clear();
                              h.table->InvalidateAll();
                              render();
                          }),
                          copy, W, H, 0);
    }
    s.tableReady = 0;
    bench::PrintRatio("background and copy only", bench::MedianMs(runs, [&] {
                          h.Game().Dirty().Clear();
                          h.table->InvalidateAll();
                          render();
                      }),
                      copy, W, H, 0);
    std::printf("table render goal: %s\n", met ? "met" : "NOT MET");
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    return 0;
}
