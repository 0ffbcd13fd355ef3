#include "AfxTrace.h"
#include "CString.h"
#include <windows.h>
#include <cstdarg>

void AfxTrace(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    CString strText;
    strText.FormatV(pszFormat, args);
    va_end(args);
    ::OutputDebugStringA(strText);
}
