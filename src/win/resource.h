// Identifiers of the resource script's dialogs, controls, menu entries and
// icon. The controls of the program's own windows keep the numbers of the
// dialog layout; those added since (the lines naming the program and
// simulator, Browse buttons, what was found installed, the run report, the
// last run) follow.
#pragma once

#define IDI_TARNVALE 100

#define IDD_MAIN_WINDOW 101
#define IDD_TARGET_PROGRAM 102
#define IDD_SIMULATOR 103
#define IDD_ABOUT 104
#define IDD_RUN_ENDING 105
#define IDD_REPORT 106
#define IDD_MESSAGE 107
#define IDR_MAIN_MENU 110

// Main window.
#define IDC_INTRO_TEXT 1000
#define IDC_NOTE_TEXT 1001
#define IDC_STATUS_GROUP 1002
#define IDC_CREATE 1003
#define IDC_STATUS_FIELD 1004
#define IDC_PROGRESS_BAR 1005
#define IDC_CANCEL_RUN 1013
#define IDC_PROGRAM_LINE 1040
#define IDC_SIMULATOR_LINE 1041
#define IDC_LAST_RUN_GROUP 1060
#define IDC_LAST_RUN_TEXT 1061

// Simulator dialog (its list of installs found also serves the
// target-program dialog, for the programs found).
#define IDC_SIMULATOR_FOLDER 1006
#define IDC_SIMULATOR_OK 1007
#define IDC_FS2002 1008
#define IDC_FS2004 1009
#define IDC_SIMULATOR_FOLDER_GROUP 1010
#define IDC_VERSION_GROUP 1011
#define IDC_SIMULATOR_EXAMPLE 1012
#define IDC_SIMULATOR_BROWSE 1042
#define IDC_FOUND_GROUP 1043
#define IDC_FOUND_LIST 1044

// About box.
#define IDC_CREDITS_FIELD 1018
#define IDC_ABOUT_HEADING 1019
#define IDC_DESCRIPTION_FIELD 1020
#define IDC_DESCRIPTION_GROUP 1045
#define IDC_CREDITS_GROUP 1046
#define IDC_CONTACT_TEXT 1047

// Target-program dialog.
#define IDC_TARGET_EXPLANATION 1021
#define IDC_CHART_FS2002 1022
#define IDC_CHART_FS2004 1023
#define IDC_RADAR 1024
#define IDC_PROGRAM_GROUP 1025
#define IDC_TARGET_FOLDER_GROUP 1026
#define IDC_TARGET_FOLDER_TEXT 1027
#define IDC_TARGET_EXAMPLES 1028
#define IDC_TARGET_FOLDER 1029
#define IDC_TARGET_OK 1030
#define IDC_TARGET_BROWSE 1031

// The messages, the one at the end of a run, and its report.
#define IDC_MESSAGE_TEXT 1050
#define IDC_ENDING_SUMMARY 1051
#define IDC_DETAILS 1052
#define IDC_FIND_LABEL 1053
#define IDC_FIND_FIELD 1054
#define IDC_FIND_NEXT 1055
#define IDC_FIND_RESULT 1056
#define IDC_REPORT_TEXT 1057
#define IDC_COPY_REPORT 1058
#define IDC_SAVE_REPORT 1059

// Menu entries.
#define IDM_CHANGE_SETUP 40001
#define IDM_EXIT 40002
#define IDM_ABOUT 40003
#define IDM_SHOW_LAST_REPORT 40004
// The code pages under "File" > "Code Page", in their order.
#define IDM_CODE_PAGE_FIRST 40010
