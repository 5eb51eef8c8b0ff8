#pragma once

// Generic-text names: narrow without UNICODE (or _UNICODE), wide with it, as the real header
// maps them.

#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#if defined(UNICODE) || defined(_UNICODE)
typedef wchar_t _TCHAR;
typedef wchar_t _TSCHAR;
typedef wchar_t _TUCHAR;
typedef wint_t _TINT;
#define __T(x) L##x
#define _tcslen wcslen
#define _tcscpy wcscpy
#define _tcsncpy wcsncpy
#define _tcscat wcscat
#define _tcscmp wcscmp
#define _tcsncmp wcsncmp
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tcstol wcstol
#define _tcstoul wcstoul
#define _tcstod wcstod
#define _stprintf swprintf
#define _sntprintf swprintf
#define _tprintf wprintf
#define _ftprintf fwprintf
#define _tmain wmain
#else
typedef char _TCHAR;
typedef signed char _TSCHAR;
typedef unsigned char _TUCHAR;
typedef int _TINT;
#define __T(x) x
#define _tcslen strlen
#define _tcscpy strcpy
#define _tcsncpy strncpy
#define _tcscat strcat
#define _tcscmp strcmp
#define _tcsncmp strncmp
#define _tcschr strchr
#define _tcsrchr strrchr
#define _tcsstr strstr
#define _tcstol strtol
#define _tcstoul strtoul
#define _tcstod strtod
#define _stprintf sprintf
#define _sntprintf snprintf
#define _tprintf printf
#define _ftprintf fprintf
#define _tmain main
#endif
#define _T(x) __T(x)
#define _TEXT(x) __T(x)
#ifndef TEXT
#define TEXT(x) __T(x)
#endif
