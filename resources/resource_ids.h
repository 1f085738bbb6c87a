/* Ids shared by the resource scripts and the code. Plain #defines only:
   windres reads this file too. */
#pragma once

/* Icon */
#define IDI_SOMV_ICON             1

/* Dialog templates */
#define IDD_SOMV_DIALOG           11   /* printer selection, caption "Somnivar Tool" */
#define IDD_TIMER_SETTINGS        12
#define IDD_DEBUG_MSG             13   /* message tester */
#define IDD_DEBUG_DISPLAY         14   /* diagnostic display */

/* Printer selection dialog (11) */
#define IDC_OPEN_PRINTER          101
#define IDC_PRINTER_LIST          102
#define IDC_DEBUG_MSG             111
#define IDC_DEBUG_DISPLAY         112

/* Timer settings dialog (12) */
#define IDC_POWER_OFF_CHECK       201
#define IDC_TIMER_COMBO           202
#define IDC_TIMER_COMPANION1      203
#define IDC_TIMER_COMPANION2      204

/* Message tester (13) */
#define IDC_SHOW_MSG              301
#define IDC_MSG_ID_EDIT           302

/* Diagnostic display (14) */
#define IDC_TIMER_DLG             401

/* Strings: list columns */
#define IDS_COLUMN_PRINTER        1011
#define IDS_COLUMN_DRIVER         1012
#define IDS_COLUMN_PRINTER_WIDTH  1013
#define IDS_COLUMN_DRIVER_WIDTH   1014

/* Strings: labels of timer choices 1 to 8 */
#define IDS_TIMER_CHOICE1         1102
#define IDS_TIMER_CHOICE2         1103
#define IDS_TIMER_CHOICE3         1104
#define IDS_TIMER_CHOICE4         1105
#define IDS_TIMER_CHOICE5         1106
#define IDS_TIMER_CHOICE6         1107
#define IDS_TIMER_CHOICE7         1108
#define IDS_TIMER_CHOICE8         1109

/* Strings: message texts (the message id is the string id) */
#define IDS_MSG_DEVICE_FAILED     1501
#define IDS_MSG_WRITE_FAILED      1502
#define IDS_MSG_SETUP_MISSING     1503
#define IDS_MSG_WOW64             1504
#define IDS_MSG_UNKNOWN           1601
#define IDS_MSG_START_FAILED      1901

/* Strings: captions */
#define IDS_CAPTION_UNKNOWN       1602
#define IDS_CAPTION_TOOL          1701
#define IDS_CAPTION_WOW64         1702
#define IDS_CAPTION_START_FAILED  1902

/* String: "ON" when the library's language reads right to left */
#define IDS_READING_DIRECTION     1801

/* String: the framework's prompt when an integer field holds no number */
#define IDS_FRAMEWORK_INTEGER_PROMPT 61712
