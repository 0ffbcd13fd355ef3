#pragma once
#include <string>

#include "ByteSource.h"
#include "Ed25519ph.h"

// The signature of a package travels inside it, as its ZIP archive comment,
// which every ZIP tool keeps and shows and which an update tool that knows
// nothing of signatures skips. The comment is one line of fixed length, the
// signature block:
//
//   TAVI-SIGNATURE-1 Ed25519ph key=<64 hex digits> sig=<128 hex digits>
//
// and it is the last thing in the file. The signature covers every byte
// before it: the entries (the configuration among them), the central
// directory and the end record, whose comment length already counts the
// block.
namespace signing {

constexpr char kBlockMagic[] = "TAVI-SIGNATURE-1 Ed25519ph key=";
constexpr std::size_t kBlockSize = sizeof kBlockMagic - 1 + 2 * kPublicKeyBytes + 5 + 2 * kSignatureBytes;

// What a package's signature says, found and then checked.
class SignatureCheck {
public:
    enum State {
        Unsigned,   // no block: no archive comment, or another comment
        Signed,     // a block, not checked yet
        Valid,      // the block's key signed every byte before it
        Changed,    // the bytes are not the ones that were signed
        Unreadable, // a damaged block, a block that is not at the end, or a read that failed
    };

    // Looks for the block at the package's end; reads no more than its tail.
    explicit SignatureCheck(plinth::ByteSource& package);

    // For a signed package: reads every byte before the block once, in order,
    // and answers Valid, Changed or Unreadable.
    State Verify();

    State GetState() const { return m_state; }
    const PublicKey& Key() const { return m_key; }
    // Why the package is not Valid, in plain English.
    const std::string& Problem() const { return m_problem; }

private:
    State Fail(State state, const std::string& problem);

    plinth::ByteSource& m_package;
    State m_state = Unsigned;
    PublicKey m_key = {};
    Signature m_signature = {};
    std::string m_problem;
};

// Signs the package file in place: its archive comment, if it has one,
// becomes the key's signature block. The caller works on a copy that it puts
// in place only when this succeeded. Answers false, with the reason, when the
// file has no ZIP end record or cannot be read or written.
bool SignPackageFile(const std::wstring& path, const SecretKey& key, std::string& problem);

} // namespace signing
