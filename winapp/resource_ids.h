// The numeric ids of the Windows dialog's resources and controls, shared by
// the resource script and the code (the resource compiler reads this file
// too: #define lines only).
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_FRAMETALLY_DIALOG 102
#define IDR_MAINFRAME 128
#define IDR_MAINMENU 129

#define IDC_SELECT 1000
#define IDC_RESULT 1001
#define IDC_WEBLINK 1002

// The details beneath the main dialog's controls, made when it opens.
#define IDC_DETAIL_FILE 1010
#define IDC_DETAIL_CAMERA 1011
#define IDC_DETAIL_SERIAL 1012
#define IDC_DETAIL_DATE 1013
#define IDC_DETAIL_LENS 1014
#define IDC_DETAIL_REASON_TITLE 1015
#define IDC_DETAIL_REASON 1016
#define IDC_DETAIL_MECHANICAL_TITLE 1017
#define IDC_DETAIL_MECHANICAL 1018
#define IDC_DETAIL_RATED_TITLE 1019
#define IDC_DETAIL_RATED 1020

// The About box's words on what is read; the box that gives a link's address
// when no browser opened it.
#define IDC_ABOUT_READS 1030
#define IDD_OPEN_LINK 103
#define IDC_OPEN_LINK_ADDRESS 1031

#define ID_FILE_EXIT 32771
#define ID_HELP_ABOUT 32772

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
