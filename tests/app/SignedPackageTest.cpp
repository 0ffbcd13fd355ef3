// Signed packages, run as a line runs the tool: without a trusted key it
// applies what it always applied; with keys under HKLM it applies only what
// one of them signed and refuses the rest with exit code 7, before any
// program is ended and before anything is written.
#include "AppTest.h"

#include <utility>
#include <vector>

#include "TestFiles.h"

namespace {

const char KEYS[] = "SOFTWARE\\TAVI\\UpdateKeys";
const char APPLIED[] = "SOFTWARE\\TAVI\\UpdateApplied";
const char REFUSED[] = "升级包未通过签名验证,拒绝升级!";

// HKLM\SOFTWARE\TAVI and the two keys below it, put back as they were when
// the object goes, whatever the test did or however it failed.
class RegistryGuard {
public:
    RegistryGuard()
    {
        for (const char* pszKey : {"SOFTWARE\\TAVI", KEYS, APPLIED})
            m_saved.push_back(Save(pszKey));
    }
    ~RegistryGuard()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, it->strKey.c_str(), KEY_WOW64_64KEY, 0);
        for (const Saved& saved : m_saved) {
            if (!saved.bExisted)
                continue;
            HKEY hKey = nullptr;
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, saved.strKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                            nullptr, &hKey, nullptr);
            for (const Value& value : saved.values)
                RegSetValueExA(hKey, value.strName.c_str(), 0, value.dwType,
                               reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
            RegCloseKey(hKey);
        }
    }
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    struct Value {
        std::string strName;
        DWORD dwType;
        std::string data;
    };
    struct Saved {
        std::string strKey;
        bool bExisted = false;
        std::vector<Value> values;
    };
    static Saved Save(const char* pszKey)
    {
        Saved saved;
        saved.strKey = pszKey;
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | KEY_WOW64_64KEY, &hKey) != ERROR_SUCCESS)
            return saved;
        saved.bExisted = true;
        char szName[16384];
        BYTE data[4096];
        for (DWORD i = 0;; ++i) {
            DWORD dwName = sizeof szName, dwData = sizeof data, dwType = 0;
            if (RegEnumValueA(hKey, i, szName, &dwName, nullptr, &dwType, data, &dwData) != ERROR_SUCCESS)
                break;
            saved.values.push_back({std::string(szName, dwName), dwType, std::string(data, data + dwData)});
        }
        RegCloseKey(hKey);
        return saved;
    }
    std::vector<Saved> m_saved;
};

// A string value under HKLM, "" when there is none.
std::string RegistryText(const char* pszKey, const std::string& name)
{
    char szData[512] = "";
    DWORD dwSize = sizeof szData - 1;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | KEY_WOW64_64KEY, &hKey) != ERROR_SUCCESS)
        return std::string();
    RegQueryValueExA(hKey, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(szData), &dwSize);
    RegCloseKey(hKey);
    return szData;
}

DWORD RunAndWait(const std::string& commandLine)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return ~0u;
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD dwCode = ~0u;
    GetExitCodeProcess(pi.hProcess, &dwCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dwCode;
}

class SignedPackageTest : public AppTest {
protected:
    // Signing starts off; the guard, made before, puts the keys back.
    void SetUp() override
    {
        AppTest::SetUp();
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, KEYS, KEY_WOW64_64KEY, 0);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, APPLIED, KEY_WOW64_64KEY, 0);
    }

    static std::string KeyPath(const std::string& name) { return std::string(kScratch) + "\\keys\\" + name; }

    static void KeyGen(const std::string& name)
    {
        MakeDirectories(std::string(kScratch) + "\\keys");
        ASSERT_EQ(0u, RunAndWait("\"" + BinDirectory() + "tv2pack.exe\" keygen " + name + " --out \"" + kScratch +
                                 "\\keys\""));
    }
    // Trusts the key as an administrator does: imports its .reg file (Wine's
    // prefix here is 32-bit only; on 64-bit Windows the import needs /reg:64).
    static void Trust(const std::string& name)
    {
        ASSERT_EQ(0u, RunAndWait("reg.exe import \"" + KeyPath(name) + ".reg\""));
    }
    static void Sign(const std::string& package, const std::string& key)
    {
        ASSERT_EQ(0u, RunAndWait("\"" + BinDirectory() + "tv2pack.exe\" sign \"" + package + "\" --key \"" +
                                 KeyPath(key) + ".key\""));
    }

    // Runs the tool on the package, unattended; answers its exit code and
    // the log pane's text as the run left it.
    static std::pair<DWORD, std::string> Apply(const std::string& package, const std::string& finalStatus)
    {
        AppProcess app(Quoted(package) + " 1 1");
        const HWND hMain = app.WaitForMainWindow(60000);
        EXPECT_NE(nullptr, hMain) << package;
        EXPECT_TRUE(WaitForStatus(hMain, finalStatus, 120000)) << package;
        const std::string log = DlgItemText(hMain, IDC_EDT_LOG);
        EXPECT_TRUE(app.WaitForExit(30000)) << package;
        return {app.ExitCode(), log};
    }

    RegistryGuard m_registry;
};

} // namespace

TEST_F(SignedPackageTest, WithoutATrustedKeyAnUnsignedPackageIsAppliedAsBefore)
{
    const std::string package = MakeSamplePackage("plain");
    EXPECT_EQ(0u, Apply(package, "更新完成").first);
    EXPECT_EQ("a of plain", ReadBytes(InstallRoot() + "\\Data\\a.txt"));
    EXPECT_EQ("", RegistryText(APPLIED, "plain")) << "nothing recorded while signing is off";
}

TEST_F(SignedPackageTest, OnlyPackagesOfTrustedKeysAreAppliedAndOthersStopBeforeAnythingHappens)
{
    for (const char* name : {"line-a", "line-b", "stranger"})
        KeyGen(name);
    Trust("line-a");
    Trust("line-b");

    // Each trusted key's package is applied, and its creation time recorded.
    const std::string byA = MakeSamplePackage("by-a");
    Sign(byA, "line-a");
    EXPECT_EQ(0u, Apply(byA, "更新完成").first);
    EXPECT_EQ("a of by-a", ReadBytes(InstallRoot() + "\\Data\\a.txt"));
    const std::string recorded = RegistryText(APPLIED, "by-a");
    EXPECT_EQ(19u, recorded.size()) << recorded;
    const std::string byB = MakeSamplePackage("by-b");
    Sign(byB, "line-b");
    EXPECT_EQ(0u, Apply(byB, "更新完成").first);
    EXPECT_EQ("a of by-b", ReadBytes(InstallRoot() + "\\Data\\a.txt"));
    RemoveTree(InstallRoot());

    const std::string unsignedPackage = MakeSamplePackage("unsigned");
    const std::string byStranger = MakeSamplePackage("stranger");
    Sign(byStranger, "stranger");
    const std::string tampered = MakeSamplePackage("tampered");
    Sign(tampered, "line-a");
    std::string bytes = ReadBytes(tampered);
    const size_t at = bytes.find("a of tampered");
    ASSERT_NE(std::string::npos, at);
    bytes[at] = 'A';
    WriteBytes(tampered, bytes);
    // An older package of by-a's name: tv2pack stamps the time it was made,
    // this one says 2020.
    const std::string older = std::string(kScratch) + "\\pkg\\older.tv2bck";
    StoredZip zip;
    zip.Add("a.txt", "older a");
    zip.Add("TAVIBK.cfg", ConfigText({{"a.txt", InstallRoot() + "\\Data\\a.txt"}}, "by-a", 1));
    zip.Write(older);
    Sign(older, "line-a");

    const struct {
        std::string package;
        const char* reason;
    } cases[] = {
        {unsignedPackage, "升级包没有签名!"},
        {byStranger, "升级包的签名密钥不受本机信任!"},
        {tampered, "升级包在签名后被修改过!"},
        {older, "升级包比本机已安装的同名升级包旧"},
    };
    for (const auto& c : cases) {
        const HANDLE hProgram = StartSleeperAs(kScratch, "TAVIMain.exe");
        ASSERT_NE(nullptr, hProgram);
        const auto [dwCode, log] = Apply(c.package, REFUSED);
        EXPECT_EQ(7u, dwCode) << c.reason;
        EXPECT_NE(std::string::npos, log.find(c.reason)) << log;
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hProgram, 0))
            << c.reason << ": a program of the line was ended";
        TerminateProcess(hProgram, 0);
        CloseHandle(hProgram);
        EXPECT_FALSE(DirectoryExists(InstallRoot())) << c.reason << ": something was installed";
        EXPECT_FALSE(DirectoryExists(StagingDirectory())) << c.reason << ": the staging folder was made";
        EXPECT_EQ(recorded, RegistryText(APPLIED, "by-a")) << c.reason;
    }
}
