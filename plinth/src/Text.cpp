// Text helpers: fields, trimming, numbers, and the project's ID convention.
#include "Exports.h"
#include "Guard.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Field index of text split at sep. The text is walked by characters of the
// ANSI code page, so a separator byte inside a double-byte GBK character (the
// backslash, 0x5C, can be a second byte) does not split it.
int Field(const char* text, char* out, int index, char sep)
{
    if (!text || !out)
        return -1;
    out[0] = '\0';
    if (index < 0)
        return 0;
    const char* start = text;
    int field = 0;
    const char* p = text;
    for (;;) {
        bool end = *p == '\0';
        if (end || (*p == sep && sep != '\0')) {
            if (field == index) {
                std::size_t length = static_cast<std::size_t>(p - start);
                if (length >= static_cast<std::size_t>(PLINTH_TEXT_OUT))
                    length = PLINTH_TEXT_OUT - 1;
                std::memcpy(out, start, length);
                out[length] = '\0';
                return static_cast<int>(length);
            }
            if (end)
                return 0;
            ++field;
            start = p + 1;
            ++p;
            continue;
        }
        p = plinth::NextChar(p);
    }
}

bool Matches(unsigned char c, char ch)
{
    if (ch == '\0')
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    return c == static_cast<unsigned char>(ch);
}

bool IsSub(int id)
{
    return id >= 10000 || id <= -10000;
}

} // namespace

int plinth::entry::GetField2(const char* pszText, char* pszOut, int nIndex, char chSeparator)
{
    return Field(pszText, pszOut, nIndex, chSeparator);
}

int plinth::entry::GetField(const char* pszText, char* pszOut, int nIndex)
{
    return Field(pszText, pszOut, nIndex, ',');
}

int plinth::entry::TrimLeft(char* pszText, char ch)
{
    if (!pszText)
        return -1;
    std::size_t length = std::strlen(pszText), skip = 0;
    while (skip < length && Matches(static_cast<unsigned char>(pszText[skip]), ch))
        ++skip;
    std::memmove(pszText, pszText + skip, length - skip + 1);
    return static_cast<int>(length - skip);
}

int plinth::entry::TrimRight(char* pszText, char ch)
{
    if (!pszText)
        return -1;
    // Walk by characters: the second byte of a GBK character is never trimmed.
    char* keep = pszText;
    for (const char* p = pszText; *p;) {
        const char* next = plinth::NextChar(p);
        if (next - p == 2 || !Matches(static_cast<unsigned char>(*p), ch))
            keep = pszText + (next - pszText);
        p = next;
    }
    *keep = '\0';
    return static_cast<int>(keep - pszText);
}

int plinth::entry::IsDigital(const char* pszText)
{
    if (!pszText)
        return -1;
    const char* p = pszText;
    if (*p == '+' || *p == '-')
        ++p;
    int digits = 0, dots = 0;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9')
            ++digits;
        else if (*p == '.' && ++dots == 1)
            continue;
        else
            return 0;
    }
    return digits > 0 ? 1 : 0;
}

int plinth::entry::UTFDecode(char* pszText)
try {
    if (!pszText)
        return -1;
    int length = static_cast<int>(std::strlen(pszText));
    if (length == 0)
        return 0;
    int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pszText, length, nullptr, 0);
    if (wide <= 0)
        return -2;
    std::vector<wchar_t> w(static_cast<std::size_t>(wide));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pszText, length, w.data(), wide);
    int ansi = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (ansi <= 0 || ansi > length)
        return -2;
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, pszText, ansi, nullptr, nullptr);
    pszText[ansi] = '\0';
    return ansi;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::CnvIntData(int nValue, char* pszOut, int nRadix)
{
    if (!pszOut || nRadix < 2 || nRadix > 36)
        return -1;
    char digits[40];
    bool negative = nValue < 0 && nRadix == 10;
    unsigned int v = negative ? 0u - static_cast<unsigned int>(nValue) : static_cast<unsigned int>(nValue);
    int n = 0;
    do {
        unsigned d = v % static_cast<unsigned>(nRadix);
        digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10);
        v /= static_cast<unsigned>(nRadix);
    } while (v);
    if (negative)
        digits[n++] = '-';
    for (int i = 0; i < n; ++i)
        pszOut[i] = digits[n - 1 - i];
    pszOut[n] = '\0';
    return n;
}

int plinth::entry::ParseIP(const char* pszIp, int* pnA, int* pnB, int* pnC, int* pnD)
{
    if (!pszIp)
        return -1;
    int part[4] = {};
    const char* p = pszIp;
    for (int i = 0; i < 4; ++i) {
        int digits = 0, value = 0;
        while (*p >= '0' && *p <= '9' && digits < 4) {
            value = value * 10 + (*p - '0');
            ++p;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return 0;
        part[i] = value;
        if (i < 3) {
            if (*p != '.')
                return 0;
            ++p;
        }
    }
    if (*p != '\0')
        return 0;
    int* outs[4] = {pnA, pnB, pnC, pnD};
    for (int i = 0; i < 4; ++i)
        if (outs[i])
            *outs[i] = part[i];
    return 1;
}

int plinth::entry::GetMidDat(const int* pData, int nCount, int nFirst, int nLast, int, int* pnOut)
try {
    if (!pData || !pnOut || nCount <= 0)
        return -1;
    nFirst = std::max(nFirst, 0);
    nLast = std::min(nLast, nCount - 1);
    if (nFirst > nLast)
        return 0;
    std::vector<int> v(pData + nFirst, pData + nLast + 1);
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    long long mid = n % 2 ? v[n / 2] : (static_cast<long long>(v[n / 2 - 1]) + v[n / 2]) / 2;
    *pnOut = static_cast<int>(mid);
    return 1;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

namespace {

int Average(const int* pData, int nCount, int nWindow, int* pnOut, bool centred)
{
    if (!pData || !pnOut || nCount < 0 || nWindow < 1)
        return -1;
    for (int i = 0; i < nCount; ++i) {
        int from = centred ? i - (nWindow - 1) / 2 : i - nWindow + 1;
        int to = centred ? from + nWindow - 1 : i;
        from = std::max(from, 0);
        to = std::min(to, nCount - 1);
        long long sum = 0;
        for (int j = from; j <= to; ++j)
            sum += pData[j];
        pnOut[i] = static_cast<int>(sum / (to - from + 1));
    }
    return nCount;
}

} // namespace

int plinth::entry::MakeAvgData(const int* pData, int nCount, int nWindow, int* pnOut)
{
    return Average(pData, nCount, nWindow, pnOut, false);
}

int plinth::entry::MakeAvgData_M2(const int* pData, int nCount, int nWindow, int* pnOut)
{
    return Average(pData, nCount, nWindow, pnOut, true);
}

int plinth::entry::IsSubID_int(int nId)
{
    return IsSub(nId) ? 1 : 0;
}

int plinth::entry::IsSubID_char(const char* pszId)
{
    if (!pszId)
        return -1;
    return IsSub(std::atoi(pszId)) ? 1 : 0;
}

int plinth::entry::GetMainID(int nId)
{
    return IsSub(nId) ? nId / 10000 : nId;
}
