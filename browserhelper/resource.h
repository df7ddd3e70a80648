// Resource ids of Brenwick.dll.
#pragma once

#define IDS_PROJNAME 100
#define IDR_BRENWICK_MODULE 101  // REGISTRY: AppID and the helper key
#define IDR_BRENWICK_CLASS 102   // REGISTRY: ProgIDs and the class
