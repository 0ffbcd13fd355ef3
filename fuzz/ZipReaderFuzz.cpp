// The fuzzing entry: one package in memory through everything the reader
// does with an untrusted file: the end records and the central directory,
// the names, the checks with the local headers, and every entry's data
// inflated and held against its size and CRC-32.
#include "MemorySource.h"
#include "ZipReader.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace {

// Entries may share their data, so one input can inflate the same bytes
// many times over; past this much the data of further entries is skipped.
constexpr std::size_t kInflateBudget = 64u << 20;

// What a package that passed Check promises its unpacker.
void ExpectAccepted(const plinth::ZipReader& reader)
{
    for (const plinth::ZipEntry& e : reader.Entries()) {
        if (e.dataOffset == 0 || e.notPlainFile || e.nameProblem != plinth::NameProblem::NameOk || e.ansi.empty())
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    plinth::ZipReader reader;
    if (reader.Open(std::make_unique<MemorySource>(data, size)) != 0)
        return 0;
    std::vector<plinth::ZipProblem> problems;
    const int code = reader.Check(&problems);
    if (code == 0 && problems.empty())
        ExpectAccepted(reader);
    if ((code == 0) != problems.empty())
        __builtin_trap();
    std::size_t budget = kInflateBudget;
    for (const plinth::ZipEntry& e : reader.Entries()) {
        if (e.dataOffset == 0)
            continue;
        reader.Extract(e, [&](const unsigned char*, std::size_t n) {
            if (n > budget)
                return false;
            budget -= n;
            return true;
        });
    }
    return 0;
}
