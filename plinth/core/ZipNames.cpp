#include "ZipNames.h"

#include <windows.h>

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
    out.clear();
    if (raw.empty())
        return true;
    UINT cp = utf8 ? CP_UTF8 : 936;
    int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), &out[0], n);
    return true;
}

bool ToAnsi(const std::wstring& name, std::string& out)
{
    out.clear();
    if (name.empty())
        return true;
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()), nullptr,
                                0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), static_cast<int>(name.size()), &out[0], n,
                        nullptr, &usedDefault);
    if (usedDefault)
        return false;
    // The way back must give the same characters.
    std::wstring back;
    return FromAnsi(out, back) && back == name;
}

bool FromAnsi(const std::string& text, std::wstring& out)
{
    out.clear();
    if (text.empty())
        return true;
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return true;
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring DecodeText(const std::string& text, unsigned int codePage)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::wstring NameKey(const std::wstring& name)
{
    std::wstring key = name;
    if (!key.empty())
        CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

namespace {

bool IsReservedDevice(const std::wstring& name)
{
    // The part before the first dot, without trailing spaces, decides.
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    base = NameKey(base);
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL")
        return true;
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
        base[3] >= L'1' && base[3] <= L'9')
        return true;
    return false;
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

} // namespace plinth
