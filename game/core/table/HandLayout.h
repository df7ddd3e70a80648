// Where the own hand of n cards lies on a table of width x height: card i
// from x = (W - 18n - 253) / 2 + 18i, 71 x 96, its top at H - 176, or
// H - 196 raised (the hit test's rectangle; a raised card is drawn 18 up).
#pragma once

#include "game/core/table/DirtyList.h"

DirtyRect OwnCardRect(int i, int n, bool raised, int width, int height);
// The strip that holds the whole hand, its raised cards included.
DirtyRect OwnHandArea(int n, int width, int height);
