// bench_fenlo_render.exe [runs]: run from the bin folder. A busy table (three
// seats, full hands, played cards, the clock running, a bomb film at the head
// of the effects) is fully redrawn and rendered again and again; prints the
// median and the slowest pass in ms.
#include "tests/fenlo/TableHarness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

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
    h.Game().StartClock(15000);
    s.bombs = 2;
    h.table->QueueEffect(0);
    h.Tick();

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    const RECT& r = h.table->TableRect();
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(target, bitmap);
    auto measure = [&](const char* what) {
        LARGE_INTEGER f, a, b;
        QueryPerformanceFrequency(&f);
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QueryPerformanceCounter(&a);
            h.Game().Dirty().Clear();
            h.table->InvalidateAll();
            h.table->Render(CDC::FromHandle(target));
            QueryPerformanceCounter(&b);
            ms.push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%s, %ld x %ld, %d runs: median %.3f ms, slowest %.3f ms\n", what, r.right, r.bottom, runs,
                    ms[ms.size() / 2], ms.back());
    };
    measure("full render pass of the busy table");
    // For comparison: the background and the copy to the screen alone.
    s.tableReady = 0;
    measure("background and copy only");
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    return 0;
}
