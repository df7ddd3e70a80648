// The DLL's entry points: an in-process server of one class, CIBrenwick.
#include "browserhelper/BrenwickIds.h"
#include "browserhelper/CIBrenwick.h"
#include "browserhelper/resource.h"
#include "platform/comserver/ServerEntryPoints.h"

MIRABO_SERVER_ENTRY_POINTS(CLSID_IBrenwick, &CIBrenwick::Create,
                           (ServerScripts{IDR_BRENWICK_MODULE, IDR_BRENWICK_CLASS, {{"APPID", kBrenwickAppId}}}))
