#include "ZipNames.h"

#include <cwchar>

namespace plinth {

const char* NameProblemText(NameProblem problem)
{
    switch (problem) {
    case NameProblem::NameOk: return "acceptable";
    case NameProblem::Empty: return "the name is empty";
    case NameProblem::BadEncoding: return "the name's bytes are not valid in its encoding";
    case NameProblem::Separator: return "the name holds a path separator (the package is flat)";
    case NameProblem::DriveOrColon: return "the name holds a drive or ':'";
    case NameProblem::DotName: return "the name is \".\" or \"..\"";
    case NameProblem::ControlChar: return "the name holds a control character";
    case NameProblem::ReservedDevice: return "the name is a reserved device name";
    case NameProblem::ForbiddenChar: return "the name holds a character that Windows forbids (* ? \" < > |)";
    case NameProblem::TrailingDotOrSpace: return "the name ends in a dot or a space";
    case NameProblem::TooLong: return "the name is longer than 255 characters";
    case NameProblem::NotAnsi: return "the name cannot be written in the ANSI code page";
    }
    return "unknown";
}

bool DecodeEntryName(const std::string& raw, bool utf8, std::wstring& out)
{
    return DecodeBytes(raw, utf8 ? kUtf8CodePage : kGbkCodePage, true, out);
}

bool ToAnsi(const std::wstring& name, std::string& out)
{
    if (!EncodeExact(name, kAnsiCodePage, out))
        return false;
    // The way back must give the same characters.
    std::wstring back;
    return FromAnsi(out, back) && back == name;
}

bool FromAnsi(const std::string& text, std::wstring& out)
{
    return DecodeBytes(text, kAnsiCodePage, false, out);
}

std::wstring DecodeText(const std::string& text, unsigned int codePage)
{
    std::wstring out;
    DecodeBytes(text, codePage, false, out);
    return out;
}

std::wstring NameKey(const std::wstring& name)
{
    return UpperCase(name);
}

bool IsReservedDevice(const std::wstring& name)
{
    // The part before the first dot, without trailing spaces, decides.
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    base = NameKey(base);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"})
        if (base == device)
            return true;
    // COM and LPT with a digit: 0 to 9, and the superscripts 1, 2 and 3,
    // which Windows also takes for port numbers.
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0)
        && ((base[3] >= L'0' && base[3] <= L'9') || base[3] == L'\x00B9' || base[3] == L'\x00B2'
            || base[3] == L'\x00B3');
}

namespace {

// A character that an 8.3 name holds as it is.
bool IsShortNameChar(wchar_t c)
{
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'))
        return true;
    return c != L'\0' && std::wcschr(L"!#$%&'()-@^_`{}~", c) != nullptr;
}

// A character that no 8.3 name holds, so a name with it always gets an alias.
bool BreaksShortName(wchar_t c)
{
    return c != L'\0' && std::wcschr(L" .+,;=[]", c) != nullptr;
}

template <typename Test>
bool AllOf(const std::wstring& text, Test test)
{
    for (wchar_t c : text)
        if (!test(c))
            return false;
    return true;
}

} // namespace

NameProblem CheckEntryName(const std::wstring& name)
{
    if (name.empty())
        return NameProblem::Empty;
    if (name.size() > 255)
        return NameProblem::TooLong;
    for (wchar_t c : name) {
        if (c == L'/' || c == L'\\')
            return NameProblem::Separator;
        if (c == L':')
            return NameProblem::DriveOrColon;
        if (c < 0x20 || c == 0x7F)
            return NameProblem::ControlChar;
    }
    if (name == L"." || name == L"..")
        return NameProblem::DotName;
    for (wchar_t c : name) {
        if (c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return NameProblem::ForbiddenChar;
    }
    if (IsReservedDevice(name))
        return NameProblem::ReservedDevice;
    if (name.back() == L'.' || name.back() == L' ')
        return NameProblem::TrailingDotOrSpace;
    std::string ansi;
    if (!ToAnsi(name, ansi))
        return NameProblem::NotAnsi;
    return NameProblem::NameOk;
}

ShortName ClassifyShortName(const std::wstring& name, std::wstring& key)
{
    // The extension follows the last dot; a leading dot starts no extension.
    std::size_t dot = name.rfind(L'.');
    if (dot == 0)
        dot = std::wstring::npos;
    std::wstring base = name.substr(0, dot);
    std::wstring ext = dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
    const bool fits = !base.empty() && base.size() <= 8 && ext.size() <= 3 &&
                      AllOf(base + ext, [](wchar_t c) { return !BreaksShortName(c); });
    if (fits && base.find(L'~') != std::wstring::npos) {
        key = UpperCase(ext);
        return ShortName::AliasForm;
    }
    if (fits && AllOf(base + ext, IsShortNameChar)) {
        key.clear();
        return ShortName::Own;
    }
    // Characters outside the plain set may be dropped, replaced or converted
    // in the alias's extension.
    key = AllOf(ext, IsShortNameChar) ? UpperCase(ext.substr(0, 3)) : std::wstring(L"*");
    return ShortName::GetsAlias;
}

} // namespace plinth
