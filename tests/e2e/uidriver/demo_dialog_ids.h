#pragma once
// Ids of the driver's demo dialog, shared by its template and its code.
#define IDD_DEMO 1
#define IDD_NESTED 2
#define IDC_WARN 101
#define IDC_LIST 102
#define IDC_ERROR 103
#define IDC_DISABLED 104
#define IDC_SORTED 105
#define IDC_HIDDEN 106
#define IDC_SELECTED 107
#define IDC_NESTED 111
#define IDC_CHECK 201
#define IDC_COMBO 202
#define IDC_SHOW 301
#define IDC_EDIT 302
