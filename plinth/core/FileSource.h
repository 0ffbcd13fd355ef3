#pragma once
#include <memory>
#include <string>

#include "ByteSource.h"

namespace plinth {

// Opens a file for reading as a byte source; null when it cannot be opened
// or its size cannot be read.
std::unique_ptr<ByteSource> OpenFileSource(const std::wstring& path);

} // namespace plinth
