// The native stand-in for CodePages.cpp, over iconv. The ANSI code page is
// GBK, as on the suite's workstations.
#include "CodePages.h"

#include <iconv.h>

#include <cerrno>
#include <cwctype>

namespace plinth {

namespace {

const char* Charset(unsigned int codePage)
{
    return codePage == kUtf8CodePage ? "UTF-8" : "GBK";
}

const char kWide[] = "WCHAR_T";

// Converts size bytes of text. A sequence that does not convert fails the
// whole conversion, or, with a replacement, is replaced one unit (the size
// of the input's characters) at a time.
bool Convert(const char* from, const char* to, const char* text, std::size_t size, std::size_t unit,
             std::string& out, const std::string* replacement)
{
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char* in = const_cast<char*>(text);
    bool ok = true;
    while (size > 0) {
        char buffer[256];
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        std::size_t rc = iconv(cd, &in, &size, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            if (!replacement) {
                ok = false;
                break;
            }
            out += *replacement;
            std::size_t skip = size < unit ? size : unit;
            in += skip;
            size -= skip;
        }
    }
    iconv_close(cd);
    return ok;
}

std::wstring Wide(const std::string& bytes)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

} // namespace

bool DecodeBytes(const std::string& bytes, unsigned int codePage, bool strict, std::wstring& out)
{
    const wchar_t replacementChar = 0xFFFD;
    const std::string replacement(reinterpret_cast<const char*>(&replacementChar), sizeof replacementChar);
    std::string wide;
    bool ok = Convert(Charset(codePage), kWide, bytes.data(), bytes.size(), 1, wide, strict ? nullptr : &replacement);
    out = ok ? Wide(wide) : std::wstring();
    return ok;
}

bool EncodeExact(const std::wstring& text, unsigned int codePage, std::string& out)
{
    return Convert(kWide, Charset(codePage), reinterpret_cast<const char*>(text.data()),
                   text.size() * sizeof(wchar_t), sizeof(wchar_t), out, nullptr);
}

std::string ToUtf8(const std::wstring& text)
{
    const std::string replacement = "\xEF\xBF\xBD";
    std::string out;
    Convert(kWide, "UTF-8", reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t),
            sizeof(wchar_t), out, &replacement);
    return out;
}

std::wstring UpperCase(const std::wstring& text)
{
    std::wstring upper = text;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return upper;
}

} // namespace plinth
