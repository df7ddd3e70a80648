// Sounds through the multimedia command strings.
#pragma once

#include <string>

// Closes the device an earlier call left open for the same file, opens the
// file (its path is the device name) and starts playing it in the background;
// 1 when playing started, 0 otherwise. The device stays open until the next
// call for the same file. A path with blanks is passed in double quotes.
int PlayMciSound(std::string path);
