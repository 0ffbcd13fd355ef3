#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "SystemDirectory.h"

#include "AfxResource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreePlinth();
        fake::UninstallAllVariants();
        // Any module other than the program's own tells a restored module
        // from the default.
        m_hCallersModule = GetModuleHandleA("kernel32.dll");
        AfxSetResourceHandle(m_hCallersModule);
    }

    void TearDown() override
    {
        FreePlinth();
        fake::UninstallAllVariants();
        AfxSetResourceHandle(nullptr);
    }

    void ExpectCallersModuleCurrent() { EXPECT_EQ(AfxGetResourceHandle(), m_hCallersModule); }

    HINSTANCE m_hCallersModule = nullptr;
};

std::string LoadedFileName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_hPlinth, path, MAX_PATH);
    std::string name(path);
    return name.substr(name.rfind('\\') + 1);
}

int ResolvedCount()
{
    int count = 0;
    for (int n = 1; n <= PLINTH_ENTRY_COUNT; ++n)
        count += PlinthSlot(static_cast<PlinthEntry>(n)) != nullptr;
    return count;
}

TEST_F(LoaderTest, CompleteLibraryLoadsWithEveryEntryPoint)
{
    fake::Install("FakePlinth.dll", "Plinth.dll");
    EXPECT_EQ(LoadPlinth(1), 1);
    ExpectCallersModuleCurrent();
    EXPECT_NE(g_hPlinth, nullptr);
    EXPECT_EQ(ResolvedCount(), PLINTH_ENTRY_COUNT);
    EXPECT_STREQ(PlinthEntryName(PlinthEntry::GetPlinth), "GetPlinth");
    EXPECT_STREQ(PlinthEntryName(PlinthEntry::GetPlinthStrSize), "GetPlinthStrSize");
    EXPECT_STREQ(PlinthEntryName(PlinthEntry::GetUnCompressFileExCnt), "GetUnCompressFileExCnt");
}

TEST_F(LoaderTest, VariantsChooseTheirFiles)
{
    fake::Install("FakePlinth.dll", "Plinth.dll");
    for (int variant : {2, 4, 8, 16}) {
        std::string built = "FakePlinthV" + std::to_string(variant) + ".dll";
        std::string installed = "Plinth" + std::to_string(variant) + "b.dll";
        fake::Install(built.c_str(), installed.c_str());
    }

    for (int variant : {1, 0, 3, -2, 32}) {
        SCOPED_TRACE(variant);
        ASSERT_EQ(LoadPlinth(variant), 1);
        EXPECT_EQ(LoadedFileName(), "Plinth.dll");
        EXPECT_EQ(fake::Tag(), 1);
        FreePlinth();
    }
    for (int variant : {2, 4, 8, 16}) {
        SCOPED_TRACE(variant);
        ASSERT_EQ(LoadPlinth(variant), 1);
        EXPECT_EQ(LoadedFileName(), "Plinth" + std::to_string(variant) + "b.dll");
        EXPECT_EQ(fake::Tag(), variant);
        FreePlinth();
    }
}

TEST_F(LoaderTest, MissingFileAnswersMinusOne)
{
    EXPECT_EQ(LoadPlinth(1), -1);
    EXPECT_EQ(g_hPlinth, nullptr);
    EXPECT_EQ(ResolvedCount(), 0);
    ExpectCallersModuleCurrent();

    fake::Install("FakePlinth.dll", "Plinth.dll");
    EXPECT_EQ(LoadPlinth(2), -1) << "variant 2 has a file of its own";
}

class MissingEntryPointTest : public LoaderTest, public ::testing::WithParamInterface<int> {};

TEST_P(MissingEntryPointTest, FirstMissingPositionGivesItsCode)
{
    const int missing = GetParam();
    std::string built = "FakePlinthNo" + std::to_string(missing) + ".dll";
    fake::Install(built.c_str(), "Plinth.dll");

    EXPECT_EQ(LoadPlinth(1), -(missing + 1));
    ExpectCallersModuleCurrent();
    EXPECT_NE(g_hPlinth, nullptr) << "the library stays loaded for FreePlinth";
    for (int n = 1; n <= PLINTH_ENTRY_COUNT; ++n) {
        bool resolved = PlinthSlot(static_cast<PlinthEntry>(n)) != nullptr;
        EXPECT_EQ(resolved, n < missing) << "position " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, MissingEntryPointTest, ::testing::Values(5, 52, 53, 70, 71, 154));

TEST_F(LoaderTest, WithoutGetDllVerTheFirstFourStayCallable)
{
    fake::Install("FakePlinthNo5.dll", "Plinth.dll");
    ASSERT_EQ(LoadPlinth(1), -6);

    char env[16] = {};
    EXPECT_EQ(GetPlinth(env), 1);
    EXPECT_EQ(GetDefaultPlinth(env), 2);
    EXPECT_EQ(SaveSysInertia(env), 3);
    EXPECT_EQ(SavePlinth(env, 0), 4);
    char text[64] = {};
    EXPECT_EQ(GetDllVer(text), PLINTH_NOT_RESOLVED);
    EXPECT_EQ(KillProcess("a.exe"), PLINTH_NOT_RESOLVED);
    EXPECT_STREQ(GetLangueString(1), "No This Funciont");
    EXPECT_EQ(GetRand(1, 2), -1000.0);
    EXPECT_EQ(GetUnCompressFileExCnt(), PLINTH_NOT_RESOLVED);
}

TEST_F(LoaderTest, WrongRecordSizeIsRefusedAfterPosition18)
{
    fake::Install("FakePlinthSize.dll", "Plinth.dll");
    EXPECT_EQ(LoadPlinth(1), -9999);
    ExpectCallersModuleCurrent();
    EXPECT_NE(PlinthSlot(PlinthEntry::GetPlinthStrSize), nullptr);
    EXPECT_EQ(PlinthSlot(PlinthEntry::GetVers), nullptr);
    EXPECT_EQ(ResolvedCount(), 18);

    char env[16] = {};
    EXPECT_EQ(GetPlinth(env), 1);
    EXPECT_EQ(PostLog("x"), 15);
    char version[1024] = {};
    EXPECT_EQ(GetVers(nullptr, version), PLINTH_NOT_RESOLVED);
}

TEST_F(LoaderTest, FreeClearsEverythingAndIsHarmlessTwice)
{
    FreePlinth(); // nothing loaded
    EXPECT_EQ(g_hPlinth, nullptr);

    fake::Install("FakePlinth.dll", "Plinth.dll");
    ASSERT_EQ(LoadPlinth(1), 1);
    EXPECT_EQ(KillProcess("a.exe"), 60);

    FreePlinth();
    EXPECT_EQ(g_hPlinth, nullptr);
    EXPECT_EQ(ResolvedCount(), 0);
    EXPECT_EQ(KillProcess("a.exe"), PLINTH_NOT_RESOLVED);
    EXPECT_EQ(GetModuleHandleA("Plinth.dll"), nullptr) << "the library is released";

    FreePlinth();
    EXPECT_EQ(g_hPlinth, nullptr);
    EXPECT_EQ(KillProcess("a.exe"), PLINTH_NOT_RESOLVED);
}

// Points this program's import of a kernel32 function elsewhere for as long
// as the object lives. The loader is linked into the program, so its call to
// the function goes through this very import slot.
class ImportPatch {
public:
    ImportPatch(const char* function, FARPROC replacement)
    {
        FARPROC original = GetProcAddress(GetModuleHandleA("kernel32.dll"), function);
        auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        auto descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        for (; descriptor->Name; ++descriptor) {
            auto thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
            for (; thunk->u1.Function; ++thunk) {
                if (reinterpret_cast<FARPROC>(thunk->u1.Function) == original) {
                    m_pSlot = reinterpret_cast<FARPROC*>(&thunk->u1.Function);
                    m_original = original;
                    Write(replacement);
                    return;
                }
            }
        }
    }
    ~ImportPatch()
    {
        if (m_pSlot)
            Write(m_original);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool Applied() const { return m_pSlot != nullptr; }

private:
    void Write(FARPROC value)
    {
        DWORD oldProtect = 0;
        VirtualProtect(m_pSlot, sizeof value, PAGE_READWRITE, &oldProtect);
        *m_pSlot = value;
        VirtualProtect(m_pSlot, sizeof value, oldProtect, &oldProtect);
    }

    FARPROC* m_pSlot = nullptr;
    FARPROC m_original = nullptr;
};

UINT WINAPI NoSystemDirectory(LPSTR, UINT)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST_F(LoaderTest, NoSystemDirectoryAnswersMinus1000AndKeepsTheLoadedLibrary)
{
    fake::Install("FakePlinth.dll", "Plinth.dll");
    ASSERT_EQ(LoadPlinth(1), 1);
    HMODULE hLoaded = g_hPlinth;

    {
        ImportPatch patch("GetSystemDirectoryA", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(NoSystemDirectory)));
        ASSERT_TRUE(patch.Applied());
        EXPECT_EQ(LoadPlinth(1), -1000);
    }
    ExpectCallersModuleCurrent();
    EXPECT_EQ(g_hPlinth, hLoaded);
    EXPECT_EQ(KillProcess("a.exe"), 60);
}

} // namespace
