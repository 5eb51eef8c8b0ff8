#pragma once

// The dialog part of windows.h: dialogs created from templates, their controls and the messages
// a program sends them. Included by windows.h; implemented in tarnelix_win32_dialog.

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)

// Dialog styles.
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_CENTER 0x0800L

// Control styles.
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_SORT 0x0100L

// Control notifications, carried in the high word of WM_COMMAND's wParam.
#define BN_CLICKED 0
#define CBN_SELCHANGE 1
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))

// Combo box messages and results.
#define CB_ERR (-1)
#define CB_ADDSTRING 0x0143
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E

#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam);
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
int WINAPI GetDlgCtrlID(HWND hWnd);
int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
BOOL WINAPI IsWindowVisible(HWND hWnd);
BOOL WINAPI IsWindowEnabled(HWND hWnd);
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect);
// Finds dialogs (class "#32770") by class and caption; a null argument matches any.
HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);

#define CreateDialogParam CreateDialogParamA
#define GetWindowText GetWindowTextA
#define FindWindow FindWindowA
