#include "CodePages.h"

#include <windows.h>

namespace plinth {

bool DecodeBytes(const std::string& bytes, unsigned int codePage, bool strict, std::wstring& out)
{
    out.clear();
    if (bytes.empty())
        return true;
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(codePage, flags, bytes.data(), size, &out[0], n);
    return true;
}

bool EncodeExact(const std::wstring& text, unsigned int codePage, std::string& out)
{
    out.clear();
    if (text.empty())
        return true;
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr,
                                &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, &out[0], n, nullptr, &usedDefault);
    return !usedDefault;
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring UpperCase(const std::wstring& text)
{
    std::wstring upper = text;
    if (!upper.empty())
        CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

} // namespace plinth
