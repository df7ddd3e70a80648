#include "game/core/table/HandLayout.h"

namespace {

const int kStep = 18, kWidth = 71, kHeight = 96, kTop = 176, kRaise = 20;

}  // namespace

DirtyRect OwnCardRect(int i, int n, bool raised, int width, int height) {
    const int left = (width - kStep * n - 253) / 2 + kStep * i, top = height - kTop - (raised ? kRaise : 0);
    return {left, top, left + kWidth, top + kHeight};
}

DirtyRect OwnHandArea(int n, int width, int height) {
    const DirtyRect first = OwnCardRect(0, n, true, width, height);
    return {first.left, first.top, first.left + kStep * (n > 0 ? n - 1 : 0) + kWidth, height - kTop + kHeight};
}
