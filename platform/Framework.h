// The window framework: application, windows, dialogs, controls and GDI.
#pragma once

#include "platform/App.h"
#include "platform/CString.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/LogSink.h"
#include "platform/Gdi.h"
#include "platform/Types.h"
#include "platform/Wnd.h"
#include "platform/FrameWnd.h"
#include "platform/ScrollView.h"
