#include "game/ui/GameTableSide.h"

#include <new>

#include "game/core/TableSide.h"
#include "game/ui/GameImages.h"
#include "game/ui/TableHooks.h"

namespace {

class CGameTableSide : public CTableSide {
public:
    CTablePictures* CreatePictures() override { return new (std::nothrow) CGameImages; }
    // The session's box has no owner.
    int ShowBox(const char* text, int seconds) override { return TableMessageBox(text, nullptr, 0, seconds, nullptr); }
};

}  // namespace

void InstallGameTableSide() {
    static CGameTableSide side;
    SetTableSide(&side);
}
