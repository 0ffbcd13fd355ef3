#include "CString.h"
#include "AfxResource.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// The program's texts are GBK, whatever the system's ANSI code page.
constexpr WORD GBK_CODE_PAGE = 936;

bool IsTrimmedSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}
}

size_t CString::NextChar(size_t nIndex) const
{
    // CharNextExA stays on a NUL, and a CString may hold one.
    const char* p = m_str.c_str() + nIndex;
    if (*p == '\0')
        return nIndex + 1;
    return static_cast<size_t>(CharNextExA(GBK_CODE_PAGE, p, 0) - m_str.c_str());
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
        m_str.assign(buffer.data(), static_cast<size_t>(n));
    }
}

BOOL CString::LoadString(UINT nID)
{
    // With a size of 0, LoadStringW answers the resource's own UTF-16 text and
    // its exact length; LoadStringA gives no sign that it cut a text short
    // before a double-byte character.
    LPCWSTR pszResource = nullptr;
    const int nLength = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&pszResource), 0);
    m_str.clear();
    if (nLength <= 0)
        return FALSE;
    const int nBytes = WideCharToMultiByte(CP_ACP, 0, pszResource, nLength, nullptr, 0, nullptr, nullptr);
    m_str.resize(nBytes);
    WideCharToMultiByte(CP_ACP, 0, pszResource, nLength, &m_str[0], nBytes, nullptr, nullptr);
    return TRUE;
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    for (size_t i = 0; i < m_str.size(); i = NextChar(i)) {
        if (m_str[i] == chOld) {
            m_str[i] = chNew;
            ++count;
        }
    }
    return count;
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsTrimmedSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    // Only whole characters: walk forward, remembering where trailing spaces began.
    size_t keep = 0;
    for (size_t i = 0; i < m_str.size(); i = NextChar(i)) {
        if (!IsTrimmedSpace(m_str[i]))
            keep = NextChar(i);
    }
    m_str.erase(keep);
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_str.empty())
        ::CharUpperBuffA(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

int CString::CompareNoCase(LPCSTR psz) const
{
    CString a(*this);
    CString b(psz);
    a.MakeUpper();
    b.MakeUpper();
    return std::strcmp(a, b);
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)).c_str());
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0 || nFirst >= GetLength())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)).c_str());
}

int CString::Find(char ch, int nStart) const
{
    const char text[2] = {ch, '\0'};
    return Find(text, nStart);
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (!pszSub || nStart < 0)
        return -1;
    const size_t subLen = std::strlen(pszSub);
    for (size_t i = 0; i < m_str.size(); i = NextChar(i)) {
        if (i >= static_cast<size_t>(nStart) && m_str.compare(i, subLen, pszSub) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (size_t i = 0; i < m_str.size(); i = NextChar(i)) {
        if (m_str[i] == ch)
            found = static_cast<int>(i);
    }
    return found;
}

LPSTR CString::GetBuffer(int nMinLength)
{
    if (nMinLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_str.c_str()));
    m_str.resize(static_cast<size_t>(nNewLength));
}
