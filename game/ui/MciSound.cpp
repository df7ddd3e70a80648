#include "game/ui/MciSound.h"

#include <windows.h>
// after windows.h
#include <mmsystem.h>

namespace {

MCIERROR Command(const char* verb, const std::string& device) {
    const std::string command = std::string(verb) + " " + device;
    return ::mciSendStringA(command.c_str(), nullptr, 0, nullptr);
}

}  // namespace

int PlayMciSound(std::string path) {
    const std::string device = path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
    Command("close", device);
    if (Command("open", device) != 0) return 0;
    return Command("play", device) == 0 ? 1 : 0;
}
