#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "Ed25519ph.h"
#include "PackageIdentity.h"

// Signed packages on a workstation. Its owner turns signing on by creating
// HKLM\SOFTWARE\TAVI\UpdateKeys with one value per trusted key, the value's
// data the public key in hexadecimal (tv2pack keygen writes it as NAME.reg).
// Without that key the run goes on as it always has. With it, a package is
// applied only when one of the values' keys signed it, it is unchanged since,
// and it is not older (by its creation time) than the last signed package of
// its name applied here, which HKLM\SOFTWARE\TAVI\UpdateApplied records. The
// key stays even when its last value is removed: revoking the last key
// refuses every package instead of turning signing off; deleting the key
// turns it off.
//
// The tool is 32-bit: both keys are read and written in the registry's 64-bit
// view (KEY_WOW64_64KEY), where an administrator's regedit puts them on 64-bit
// Windows; 32-bit Windows ignores the flag.
namespace engine {

constexpr char TRUSTED_KEYS_KEY[] = "SOFTWARE\\TAVI\\UpdateKeys";
constexpr char APPLIED_PACKAGES_KEY[] = "SOFTWARE\\TAVI\\UpdateApplied";

// The status texts of the check.
constexpr char SIGNATURE_CHECKING_TEXT[] = "正在验证升级包签名...";
constexpr char SIGNATURE_REFUSED_TEXT[] = "升级包未通过签名验证,拒绝升级!";

class CPackageTrust {
public:
    // Reads the trusted keys.
    CPackageTrust();
    CPackageTrust(const CPackageTrust&) = delete;
    CPackageTrust& operator=(const CPackageTrust&) = delete;

    bool IsSigningOn() const { return m_bSigningOn; }

    // Whether the package may be applied; always true with signing off.
    // Reads the whole package once. An accepted package stays open for
    // reading only, so that nobody can change it, until this object goes.
    bool Check(const char* pszPackagePath);
    // Why Check refused the package, a line for the log.
    const std::string& Refusal() const { return m_strRefusal; }

    // Records the accepted package's creation time under its name, after a
    // run that ended with exit code 0 or 1. True when there was nothing to
    // record or it was recorded.
    bool RecordApplied() const;

private:
    bool Refuse(const std::string& strReason);

    bool m_bSigningOn = false;
    bool m_bKeysReadable = true;
    std::vector<signing::PublicKey> m_keys;
    std::unique_ptr<plinth::ByteSource> m_pPackage;
    signing::PackageIdentity m_identity;
    bool m_bAccepted = false;
    std::string m_strRefusal;
};

} // namespace engine
