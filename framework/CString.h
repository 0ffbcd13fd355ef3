#pragma once
#include <cstdarg>
#include <windows.h>
#include <cstdio>
#include <string>

// An 8-bit string in the ANSI code page (GBK here). Searches step over
// double-byte characters, so a trail byte that happens to equal an ASCII
// character (a backslash, say) is never taken for one.
class CString {
public:
    CString() = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator LPCSTR() const { return m_str.c_str(); }

    // printf-style formatting.
    void Format(LPCSTR pszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args);
    // Loads a string resource from the current resource module; FALSE if there is none.
    BOOL LoadString(UINT nID);

    // Replaces every character chOld (never the second byte of a double-byte
    // character) with chNew; the count.
    int Replace(char chOld, char chNew);
    // Removes spaces, tabs, carriage returns, line feeds, vertical tabs and form feeds.
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimRight().TrimLeft(); }
    CString& MakeUpper();
    int CompareNoCase(LPCSTR psz) const;

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    // Byte index of the first match at or after nStart, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;

    // Direct access to the characters: at least nMinLength bytes plus the
    // terminator; ReleaseBuffer takes the length up to the first NUL (or the given one).
    LPSTR GetBuffer(int nMinLength = 0);
    void ReleaseBuffer(int nNewLength = -1);

    CString& operator=(LPCSTR psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(LPCSTR psz) { if (psz) m_str += psz; return *this; }

    friend CString operator+(const CString& a, const CString& b) { CString r(a); return r += b; }
    friend CString operator+(const CString& a, LPCSTR b) { CString r(a); return r += b; }
    friend CString operator+(LPCSTR a, const CString& b) { CString r(a); return r += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.m_str == (b ? b : ""); }
    friend bool operator==(LPCSTR a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
    friend bool operator!=(LPCSTR a, const CString& b) { return !(b == a); }

private:
    // Byte index of the next character after the one that starts at nIndex.
    size_t NextChar(size_t nIndex) const;

    std::string m_str;
};
