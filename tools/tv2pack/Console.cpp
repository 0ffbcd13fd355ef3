#include "Console.h"

#include "ZipNames.h"

#include <windows.h>

namespace console {

namespace {

void Write(DWORD which, const std::wstring& text)
{
    HANDLE h = GetStdHandle(which);
    if (h == INVALID_HANDLE_VALUE || h == nullptr)
        return;
    DWORD mode = 0, n = 0;
    if (GetConsoleMode(h, &mode)) {
        WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        return;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    if (size <= 0)
        return;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
}

} // namespace

void Out(const std::wstring& text)
{
    Write(STD_OUTPUT_HANDLE, text);
}

void Err(const std::wstring& text)
{
    Write(STD_ERROR_HANDLE, text);
}

std::wstring FromAnsi(const std::string& text)
{
    return plinth::DecodeText(text, CP_ACP);
}

} // namespace console
