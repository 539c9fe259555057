// Resource ids shared by the resource script and the Win32 shell.
#pragma once

#define IDC_STATIC (-1)

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_ADAPTER 129
#define IDD_PROGRESS 130

#define IDC_WELCOME 1000
#define IDC_DESCRIPTION 1001
#define IDC_PROGRESS_BAR 1003
#define IDC_DESTINATION 1004
#define IDC_PROGRESS_CANCEL 1005
#define IDC_SOURCE 1006
#define IDC_ABOUT_VERSION 1008
#define IDC_ABOUT_COPYRIGHT 1009
