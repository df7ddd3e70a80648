// Number and path texts of the lobby: decimal conversions through a string
// stream, and a file name put behind a folder.
#pragma once

#include "lobby/net/base/NumberText.h"
#include "platform/CString.h"

// head followed by tail; a null tail adds nothing.
CString JoinString(const CString& head, const char* tail);
