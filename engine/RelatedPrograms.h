#pragma once

// The suite's programs, ended before an update touches their files.

// Their executable image names, in the order in which they are ended.
extern const char* const g_szRelatedPrograms[16];

namespace engine {

// Asks the system library to end every process of each image, in table
// order; nothing waits or checks. Answers 1.
int CloseRelatedPrograms();

} // namespace engine
