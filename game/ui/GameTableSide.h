// The table side of the card-game client as the session sees it: the table's
// pictures and the client's message box.
#pragma once

// Installs the table side in the session (once, before the session is used;
// again is harmless).
void InstallGameTableSide();
