#pragma once
#include <string>

// tv2pack's output: UTF-16 to a console, UTF-8 when redirected to a file or a
// pipe (the way it is read on the build machines that run it under Wine).
namespace console {

void Out(const std::wstring& text);
void Err(const std::wstring& text);

// Text in the ANSI code page (GBK), as the package's configuration holds it.
std::wstring FromAnsi(const std::string& text);

} // namespace console
