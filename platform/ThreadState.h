// Per-thread framework state: the message a window procedure outside the
// message maps (a window hook) is handling, so that its default handling can
// pass the same message on. Whoever sets it saves and restores the old one.
#pragma once

#include <windows.h>

struct AFX_THREAD_STATE {
    MSG m_lastSentMsg{};
};

AFX_THREAD_STATE* AfxGetThreadState();
