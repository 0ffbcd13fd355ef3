// Packages: unpack and pack, with progress that another thread may poll, and
// in-memory compression.
#include "Exports.h"
#include "Guard.h"
#include "PackageCodes.h"
#include "PackageOps.h"

#include <zlib.h>

#include <atomic>
#include <mutex>

namespace {

// -1 until the first unpack (or pack) of the process.
std::atomic<int> g_unpackPercent{-1};
std::atomic<int> g_packPercent{-1};
// One unpack and one pack at a time; a second caller waits.
std::mutex g_unpackMutex;
std::mutex g_packMutex;

} // namespace

int plinth::entry::UnCompressFile(const char* pszPackage, const char* pszTargetDir)
try {
    std::lock_guard<std::mutex> lock(g_unpackMutex);
    return plinth::UnpackPackage(pszPackage, pszTargetDir, g_unpackPercent);
} catch (...) {
    return plinth::Caught(__func__, plinth::kPkgNoMemory);
}

int plinth::entry::GetUnCompressFileExCnt()
{
    return g_unpackPercent.load();
}

int plinth::entry::CompressFile(const char* pszSourceDir, const char* pszPackage)
try {
    std::lock_guard<std::mutex> lock(g_packMutex);
    return plinth::PackFolder(pszSourceDir, pszPackage, Z_DEFAULT_COMPRESSION, g_packPercent);
} catch (...) {
    return plinth::Caught(__func__, plinth::kPkgNoMemory);
}

int plinth::entry::CompressFileEx(const char* pszSourceDir, const char* pszPackage)
try {
    std::lock_guard<std::mutex> lock(g_packMutex);
    return plinth::PackFolder(pszSourceDir, pszPackage, Z_BEST_COMPRESSION, g_packPercent);
} catch (...) {
    return plinth::Caught(__func__, plinth::kPkgNoMemory);
}

int plinth::entry::GetCompressFileExCnt()
{
    return g_packPercent.load();
}

// nMode 0: zlib-compress nInSize bytes; nMode 1: decompress them. Answers the
// number of bytes written to pOut, -1 for a bad argument, -2 when pOut is too
// small, -3 for damaged compressed data.
int plinth::entry::DatCompressPro_PP(const void* pIn, int nInSize, void* pOut, int nOutSize, int nMode)
{
    if (!pIn || !pOut || nInSize < 0 || nOutSize <= 0 || (nMode != 0 && nMode != 1))
        return -1;
    uLongf outSize = static_cast<uLongf>(nOutSize);
    int rc = nMode == 0 ? compress2(static_cast<Bytef*>(pOut), &outSize, static_cast<const Bytef*>(pIn),
                                    static_cast<uLong>(nInSize), Z_DEFAULT_COMPRESSION)
                        : uncompress(static_cast<Bytef*>(pOut), &outSize, static_cast<const Bytef*>(pIn),
                                     static_cast<uLong>(nInSize));
    if (rc == Z_BUF_ERROR)
        return nMode == 1 && outSize < static_cast<uLongf>(nOutSize) ? -3 : -2;
    if (rc != Z_OK)
        return -3;
    return static_cast<int>(outSize);
}
