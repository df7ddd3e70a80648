// The table's single call points into the side panel, the window that floats
// beside it: created, given its pictures and destroyed here.
// winsock2.h must come before windows.h
#include <memory>

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/GameClock.h"
#include "game/core/TableStep.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"

// Creates the side panel (template 144, owned by the table) with the table's
// three pictures and shows it; the window-position handler keeps it placed.
void CPavlenDlg::CreateSidePanel() {
    auto panel = std::make_unique<CDlgRight>();
    panel->SetPictures(&m_rightBg, &m_peopleNum, &m_peopleNum2);
    if (!panel->Create(CDlgRight::IDD, this)) return;
    TableStep("side panel created");
    panel->ShowWindow(SW_SHOWNOACTIVATE);
    m_ownPanel = std::move(panel);
    SetSidePanel(m_ownPanel.get());
}

// Gives the side panel its list, scroll-bar and button pictures (entries
// 355 to 375) and lets it lay itself out.
void CPavlenDlg::GiveSidePanelImages() {
    if (!m_panel) return;
    m_panel->SetImageTable(GetGameImages());
    m_panel->InitRankList();
}

// Destroys the panel the table created.
void CPavlenDlg::DestroySidePanel() {
    if (m_panel == m_ownPanel.get()) m_panel = nullptr;
    if (m_ownPanel && m_ownPanel->m_hWnd) m_ownPanel->DestroyWindow();
    m_ownPanel.reset();
}
