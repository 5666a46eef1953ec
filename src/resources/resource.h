// Numeric ids of the program's resources and controls. Included by the .rc file, so only
// #define lines here.
#pragma once

#define IDR_MAINFRAME 128
#define IDI_LANGUAGE 134
#define IDB_WELCOME 131
#define IDR_PAYLOAD 142

#define IDD_INSTALL_DIALOG 102
#define IDD_SELECT_LANGUAGE_CN 133
#define IDD_SELECT_LANGUAGE_EN 136
#define IDD_SELECT_PORT 138
#define IDD_TCP_PORT_CONFIG 140

// Wizard dialog (102).
#define IDC_NEXT 1001
#define IDC_BROWSE 1002
#define IDC_BACK 1003
#define IDC_PROGRESS 1004
#define IDC_CANCEL_BUTTON 1007
#define IDC_SETTINGS_FRAME 1024
#define IDC_MODEL_LIST 1025
#define IDC_PRINTER_NAME_LABEL 1027
#define IDC_MODEL_LABEL 1028
#define IDC_DEFAULT_PRINTER 1029
#define IDC_PRINTER_NAME 1030
#define IDC_PORT_LABEL 1036
#define IDC_BAUD_LABEL 1040
#define IDC_PORT_LIST 1043
#define IDC_DATABITS_LABEL 1046
#define IDC_DATABITS 1047
#define IDC_BAUD 1048
#define IDC_PARITY 1049
#define IDC_STOPBITS_LABEL 1050
#define IDC_STOPBITS 1051
#define IDC_FLOW 1052
#define IDC_FLOW_LABEL 1053
#define IDC_PARITY_LABEL 1054

// Language dialogs (133, 136).
#define IDC_LANGUAGE_LIST 1008
#define IDC_LANGUAGE_PROMPT 1045

// Port dialogs (138, 140).
#define IDC_PORT_VIEW 1009
#define IDC_TCP_GROUP 1021
#define IDC_TCP_DELETE 1022
#define IDC_TCP_NEW 1023
#define IDC_TCP_CONFIGURE 1024

// The inner edit of the flat folder box.
#define IDC_FLAT_EDIT_INNER 1001
