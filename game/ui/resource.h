// Resource ids of fenlo.exe.
#pragma once

#define IDD_FENLO_DIALOG 102
#define IDP_SOCKETS_INIT_FAILED 103

// Buttons of the table window.
#define IDC_READY 1000
#define IDC_LEAVE 1001
#define IDC_CONTINUE 1002
#define IDC_BACK_TO_LOBBY 1003
#define IDC_PLAY 1004
#define IDC_PASS 1005
#define IDC_HINT 1006
#define IDC_BID1 1007
#define IDC_BID2 1008
#define IDC_BID3 1009
#define IDC_NO_BID 1010
#define IDC_CANCEL_AUTO 1016
#define IDC_AUTO_PLAY 1039
#define IDC_SOUND_ON 1047
#define IDC_SORT 1057
#define IDC_SOUND_OFF 1058
#define IDC_DOUBLE 1059
#define IDC_NO_DOUBLE 1060
#define IDC_NEXT_PAIR 1061
#define IDC_NEXT_TRIPLE 1062
#define IDC_CLOSE 1063
#define IDC_MINIMIZE 1064
#define IDC_REDOUBLE 1065
#define IDC_NO_REDOUBLE 1066
#define IDC_CONTEST_YES 1078
#define IDC_CONTEST_NO 1079

// ---- the player's side: the bet command and the result dialog
#define IDC_BET 1017
#define IDD_RESULT_DIALOG 145
#define IDC_RESULT_CONTINUE 1078
#define IDC_RESULT_BACK 1079
