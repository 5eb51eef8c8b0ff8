#pragma once

// Resource ids of the program's dialog and its controls.

#define IDD_SETTINGS 101
#define IDC_RESOLUTION 1000
#define IDC_ANTIALIASING 1004
#define IDC_ANISOTROPY 1005
#define IDC_DIFFICULTY 1006
#define IDC_STATIC (-1)
