// Resource ids of the side panel, the Flash effect overlay and the HTML view.
#pragma once

#define IDD_EXPLORER 109
#define IDR_EXPLORER_HTML 108
#define IDD_FLASH_EFFECT 137
#define IDD_SIDE_PANEL 144

// Controls of the side panel.
#define IDC_PANEL_SEND 1078
#define IDC_PANEL_UNUSED_COMBO 1081
#define IDC_PANEL_QUICK 1083
#define IDC_PANEL_MORE_RANKS 1086
#define IDC_PANEL_RANK_LIST 1088
#define IDC_PANEL_SECOND_LIST 1091
#define IDC_PANEL_LINK 1092
#define IDC_PANEL_PHRASES 1095
#define IDC_PANEL_INPUT 1096
#define IDC_PANEL_HISTORY 1097
