// A program's entry point: linked in only by programs that define no WinMain
// or main of their own, and that have a CWinApp object.
#include "platform/App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int cmdShow) {
    return AfxWinMain(instance, cmdLine, cmdShow);
}
