// The table's single call points into the windows that float over it: the
// side panel, the group and effect movies and the result dialog. Each body
// is filled in where that window is built; until then the table runs without
// it.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/GameClock.h"
#include "game/ui/PavlenDlg.h"

// Creates the side panel (template 144, owned by the table), hands it
// m_rightBg, m_peopleNum and m_peopleNum2 and shows it; kept in m_sidePanel.
void CPavlenDlg::CreateSidePanel() {}

// Gives the side panel its list, scroll-bar and button pictures (entries
// 355 to 375) and lets it lay itself out.
void CPavlenDlg::GiveSidePanelImages() {}

// Selects the effect's movie (codes 0..3 -> 0..3, 100 -> 4, 101 -> 5, else 3)
// and shows it in an effect movie window over the client area, kept in
// m_effectMovie.
void CPavlenDlg::ShowEffectMovie(int code) {
    m_currentEffect = code >= 0 && code <= 3 ? code : code == 100 ? 4 : code == 101 ? 5 : 3;
}
