#pragma once
#include <string>

#include "CodePages.h"

// Entry names of a flat package: decoding from the bytes stored in the ZIP
// and the rules that make a name acceptable. Shared by Plinth.dll (unpack,
// compress) and tv2pack (create, verify), so both judge names alike.
namespace plinth {

// Why a decoded name is refused; NameOk when it is acceptable.
enum class NameProblem {
    NameOk,
    Empty,
    BadEncoding,     // not valid in its encoding (UTF-8 or code page 936)
    Separator,       // holds "/" or "\\"
    DriveOrColon,    // holds ":"
    DotName,         // "." or ".."
    ControlChar,     // a character below 0x20 or 0x7F
    ReservedDevice,  // a device name (IsReservedDevice), with or without an extension
    ForbiddenChar,   // one of * ? " < > |, which no Windows file name may hold
    TrailingDotOrSpace, // Windows would drop it, so the file would get another name
    TooLong,         // more than 255 characters
    NotAnsi,         // no exact form in the ANSI code page, so the tool could not find it
};

const char* NameProblemText(NameProblem problem);

// Decodes a stored name: UTF-8 when utf8 is set, code page 936 otherwise.
// Answers false when the bytes are not valid.
bool DecodeEntryName(const std::string& raw, bool utf8, std::wstring& out);

// Checks a decoded name against the flat-format rules.
NameProblem CheckEntryName(const std::wstring& name);

// Whether a file of this name would open a device wherever it is: CON, PRN,
// AUX, NUL, CONIN$, CONOUT$, CLOCK$, COM and LPT with a digit (0 to 9, or a
// superscript 1, 2 or 3), with or without an extension, in any case.
bool IsReservedDevice(const std::wstring& name);

// The name in the ANSI code page; false when it has no exact form there.
bool ToAnsi(const std::wstring& name, std::string& out);
bool FromAnsi(const std::string& text, std::wstring& out);

// Text in a code page, for messages: bytes that do not decode are replaced,
// never refused.
std::wstring DecodeText(const std::string& text, unsigned int codePage);

// The key under which two names count as the same file (upper case).
std::wstring NameKey(const std::wstring& name);

// Short (8.3) aliases. The file system gives a file whose name is no valid
// 8.3 name an alias such as ABCDEF~1.TXT (Windows) or ABCD~XYZ.TXT (Wine)
// that opens the same file; the alias keeps at most the first three
// characters of the extension, in upper case.
enum class ShortName {
    Own,       // a valid 8.3 name without '~': its own short name
    AliasForm, // at most 8.3 characters with a '~' before the extension: may be an alias
    GetsAlias, // no valid 8.3 name: the file system gives it an alias
};
// Classifies the name; key receives its extension as an alias shows it
// ("TXT"), or "*" for a name that gets an alias whose extension may read
// otherwise (any alias form may then stand for it).
ShortName ClassifyShortName(const std::wstring& name, std::wstring& key);

} // namespace plinth
