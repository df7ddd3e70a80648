#include "platform/com/EventSinkMap.h"

HRESULT AfxDispatchControlEvent(CCmdTarget* target, UINT ctrlId, DISPID dispid, DISPPARAMS* params) {
    for (const AFX_EVENTSINKMAP* map = target ? target->GetEventSinkMap() : nullptr; map; map = map->pBaseMap) {
        for (const AFX_EVENTSINKMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nCtrlID == ctrlId && e->dispid == dispid) return e->pfn(target, params);
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}
