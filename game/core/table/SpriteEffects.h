// CSpriteEffects: the queue of sprite effects (0..3 bomb, 4 plain result
// pause, 9 and 10 plane, 100 spring, 101 anti-spring). Only the head runs; it
// steps by its own intervals and is removed after its last frame.
#pragma once

#include <string>
#include <vector>

#include "game/core/WinTypes.h"

class CSpriteEffects {
public:
    struct Step {
        bool stepped = false;
        bool finished = false;      // the head was removed: redraw everything
        bool bombFinished = false;  // a bomb film ended
        const char* sound = nullptr;
    };

    // Other codes are ignored; a plane starts at y = height (the bottom).
    void Queue(int code, int height);
    Step Tick(DWORD now);
    bool Empty() const { return queue_.empty(); }
    const std::vector<int>& Codes() const { return queue_; }
    int Frame() const { return frame_; }

    int planeY = 0;
    int planeHeight = 0;  // of the plane picture
    int bottom = 0;       // the client height

private:
    void Finish(Step& s);

    std::vector<int> queue_;
    int frame_ = -1;
    DWORD last_ = 0;
};
