#pragma once
#include <string>
#include <vector>

#include "Ed25519ph.h"

// tv2pack's signing commands, and the signing and the signature report that
// create and verify add:
//
//   tv2pack keygen NAME [--out FOLDER]   NAME.key, NAME.pub and NAME.reg (KeyFiles.h)
//   tv2pack sign PKG --key NAME.key      signs the package, replacing any signature
//
// Each complains on standard error when it fails.
namespace signcommands {

int KeyGen(const std::vector<std::wstring>& args);
int Sign(const std::vector<std::wstring>& args);

// Reads the private key for create --key.
bool LoadKey(const std::wstring& path, signing::SecretKey& key);

// Signs a package that create has just written, before it is put in place.
bool SignWritten(const std::wstring& path, const signing::SecretKey& key);

// Prints what the package's signature says: none, valid with its key, or
// invalid and why. Answers false only when it is invalid.
bool ReportSignature(const std::wstring& path);

} // namespace signcommands
