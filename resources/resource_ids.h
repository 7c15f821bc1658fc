// Identifiers of the module's dialog and menu templates and of their controls. Shared by
// the resource script and the code, so they must stay plain #defines.
#pragma once

// Result window (dialog 101, menu 111).
#define IDD_RESULT_WINDOW 101
#define IDR_RESULT_MENU 111
#define IDC_RESULT_LIST 1005
#define IDC_RESULT_MAIL 1021
#define IDC_RESULT_SUBJECT 1022
#define IDC_RESULT_MAIL_LABEL 1023
#define IDC_RESULT_SUBJECT_LABEL 1024
#define IDC_RESULT_MIME 1025
#define IDC_RESULT_MIME_LABEL 1026
#define IDM_RESULT_COPY 40007

// Settings dialog (dialog 104, menu 106).
#define IDD_SETTINGS 104
#define IDR_SETTINGS_MENU 106
#define IDC_SETTINGS_ENABLE_THRESHOLD 1007
#define IDC_SETTINGS_THRESHOLD 1008
#define IDC_SETTINGS_THRESHOLD_SPIN 1010
#define IDC_SETTINGS_RULES 1011
#define IDC_SETTINGS_CMD_PATH 1013
#define IDC_SETTINGS_ADD_RULE 1014
#define IDC_SETTINGS_REMOVE_RULE 1015
#define IDC_SETTINGS_BROWSE 1020
#define IDC_SETTINGS_ENABLE_HTML 1027
#define IDM_SETTINGS_ADD_RULE 40004
#define IDM_SETTINGS_REMOVE_RULE 40005
#define IDM_SETTINGS_EDIT_RULE 40010

// Rule property dialog (dialog 108).
#define IDD_RULE_PROPERTY 108
#define IDC_RULE_NAME 1016
#define IDC_RULE_OPTIONS 1017
#define IDC_RULE_WEIGHT 1018
