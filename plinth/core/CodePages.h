#pragma once
#include <string>

// Conversions between the bytes of a code page and wide text: the platform
// calls that name handling needs. CodePages.cpp implements them with Windows'
// own conversions; the native fuzzing build has a stand-in over iconv.
namespace plinth {

constexpr unsigned int kAnsiCodePage = 0; // CP_ACP: GBK on the suite's workstations
constexpr unsigned int kGbkCodePage = 936;
constexpr unsigned int kUtf8CodePage = 65001;

// Decodes bytes of the code page. With strict, answers false when they are
// not valid there; otherwise bytes that do not decode are replaced.
bool DecodeBytes(const std::string& bytes, unsigned int codePage, bool strict, std::wstring& out);

// Encodes text in the code page exactly: false when a character has no form
// there (no best-fit or default character).
bool EncodeExact(const std::wstring& text, unsigned int codePage, std::string& out);

// UTF-8 of the text, for messages.
std::string ToUtf8(const std::wstring& text);

// The text in upper case, as the file system compares names.
std::wstring UpperCase(const std::wstring& text);

} // namespace plinth
