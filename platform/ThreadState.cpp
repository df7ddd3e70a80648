#include "platform/ThreadState.h"

AFX_THREAD_STATE* AfxGetThreadState() {
    thread_local AFX_THREAD_STATE state;
    return &state;
}
