// The path a person takes through the loop, played with window messages and
// real clicks: the command-line login, the tree, a room, a seat, a whole hand
// with a hint and a pass, the result dialog and back to the lobby. Each stage
// leaves a screenshot; the first stage not reached ends the drive.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/loop/LoopRig.h"

namespace loop {

// The stages in order.
extern const char* const kStages[];
extern const int kStageCount;

struct DriveReport {
    struct Stage {
        std::string name;
        std::string screenshot;  // "" when none could be taken
    };
    std::vector<Stage> reached;
    std::string failed;  // the stage not reached; "" when every one was
    std::string reason;
    bool Ok() const { return failed.empty(); }
};

// The table has dealt: the player is asked to bid, double or play.
bool TableDealt(LoopRig& rig);
bool TableDealt(HWND table);  // the same for a table window already found
// After a room's double click: the table the lobby starts for the room is
// closed again and the room page is up; false when it is not within the time.
bool SettleInRoom(LoopRig& rig, int ms = 30000);

// Starts the rig and the lobby and plays the whole path; screenshots go into
// the folder as NN_stage.png. Each stage is printed to log (when not null) as
// "stage NAME: reached [PATH]" or "stage NAME: FAILED (reason)".
DriveReport DrivePath(LoopRig& rig, const std::string& shots, std::FILE* log);

}  // namespace loop
