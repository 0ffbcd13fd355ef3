#include "AnsiText.h"

std::wstring AnsiToWide(LPCSTR lpszText)
{
    std::wstring text;
    const int nLength = lpszText ? ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, nullptr, 0) : 0;
    if (nLength > 1) {
        text.resize(nLength - 1);
        ::MultiByteToWideChar(CP_ACP, 0, lpszText, -1, &text[0], nLength);
    }
    return text;
}

CString WideToAnsi(LPCWSTR lpszText)
{
    CString text;
    const int nLength = lpszText ? ::WideCharToMultiByte(CP_ACP, 0, lpszText, -1, nullptr, 0, nullptr, nullptr) : 0;
    if (nLength > 1) {
        ::WideCharToMultiByte(CP_ACP, 0, lpszText, -1, text.GetBuffer(nLength - 1), nLength, nullptr, nullptr);
        text.ReleaseBuffer(nLength - 1);
    }
    return text;
}
