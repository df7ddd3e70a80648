// ImageOle.dll's entry points: an in-process server of one class, CGifPlayer.
#include "platform/comserver/ServerEntryPoints.h"
#include "platform/imageole/GifPlayer.h"
#include "platform/imageole/ImageOleIds.h"
#include "resource.h"

MIRABO_SERVER_ENTRY_POINTS(CLSID_GifPlayer, &CGifPlayer::Create,
                           (ServerScripts{IDR_IMAGEOLE_MODULE, IDR_IMAGEOLE_CLASS, {}}))
