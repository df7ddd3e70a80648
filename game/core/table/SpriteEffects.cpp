#include "game/core/table/SpriteEffects.h"

void CSpriteEffects::Queue(int code, int height) {
    if ((code >= 0 && code <= 4) || code == 100 || code == 101) {
        queue_.push_back(code);
    } else if (code == 9 || code == 10) {
        queue_.push_back(code);
        bottom = height;
        planeY = height;
    }
}

void CSpriteEffects::Finish(Step& s) {
    frame_ = -1;
    queue_.erase(queue_.begin());
    s.finished = true;
}

CSpriteEffects::Step CSpriteEffects::Tick(DWORD now) {
    Step s;
    if (queue_.empty()) return s;
    const int code = queue_.front();
    const int since = static_cast<int>(now - last_);
    int interval;
    int lastFrame;
    if (code <= 3) {
        interval = frame_ < 2 ? 100 : 200;
        lastFrame = 6;
    } else if (code == 4) {
        interval = 250;
        lastFrame = 4;
    } else if (code == 9 || code == 10) {
        if (since < 56) return s;
        last_ = now;
        s.stepped = true;
        if (planeY >= bottom) s.sound = "fenlo\\sound\\plane.wav";
        planeY -= 20;
        if (planeY < -planeHeight) {
            planeY = bottom;
            Finish(s);
        }
        return s;
    } else if (code == 100) {
        interval = frame_ == 7 ? 100 : frame_ == 2 ? 500 : 200;
        lastFrame = 7;
    } else {
        interval = frame_ == 0 ? 500 : 400;
        lastFrame = 6;
    }
    if (frame_ != -1 && since <= interval) return s;
    last_ = now;
    s.stepped = true;
    if (frame_ == -1 && code <= 3) s.sound = "fenlo\\sound\\bomb.wav";
    if (frame_ >= lastFrame) {
        s.bombFinished = code <= 3;
        Finish(s);
    } else {
        ++frame_;
    }
    return s;
}
