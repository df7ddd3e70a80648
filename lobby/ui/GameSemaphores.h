// Whether a card-game client runs: its named semaphore exists. Probed by
// opening, never by creating, so a client starting at that moment still
// makes its own.
#pragma once

bool IsGameClientRunning();
