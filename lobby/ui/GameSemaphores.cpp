#include "lobby/ui/GameSemaphores.h"

#include <windows.h>

#include <initializer_list>

bool IsGameClientRunning() {
    for (const char* name : {"MiraboFENLO", "MiraboQOLT"}) {
        if (HANDLE semaphore = ::OpenSemaphoreA(SYNCHRONIZE, FALSE, name)) {
            ::CloseHandle(semaphore);
            return true;
        }
    }
    return false;
}
