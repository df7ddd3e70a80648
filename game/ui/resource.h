// Resource ids of fenlo.exe.
#pragma once

#define IDD_FENLO_DIALOG 102
#define IDP_SOCKETS_INIT_FAILED 103
