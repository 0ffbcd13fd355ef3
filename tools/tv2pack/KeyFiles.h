#pragma once
#include <string>

#include "Ed25519ph.h"

// The files of a signing key, as tv2pack keygen writes them into a folder:
//   NAME.key  the private key (its seed), to be kept off the line;
//   NAME.pub  the public key, to hand round;
//   NAME.reg  the registry file that makes a workstation trust the key: a
//             value NAME under HKLM\SOFTWARE\TAVI\UpdateKeys holding the
//             public key in hexadecimal.
namespace keyfiles {

// A key's name: 1 to 64 letters, digits, '-', '_' and '.', not starting with
// '.'; it names the files and the registry value.
bool IsKeyName(const std::wstring& name);

// Writes the three files of a new key into the folder. Writes nothing when
// any of them exists; false, with the problem, when they cannot all be written.
bool WriteKeyFiles(const std::wstring& folder, const std::wstring& name, const signing::SecretKey& key,
                   std::wstring& problem);

// Reads a private key file; false, with the problem, when it is not one.
bool ReadKeyFile(const std::wstring& path, signing::SecretKey& key, std::wstring& problem);

} // namespace keyfiles
