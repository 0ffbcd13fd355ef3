// zip_reader_replay FOLDER...: runs every file of the folders through the
// fuzzing entry, natively and under the sanitizers, so that every finding
// stays fixed. Exit status 0 when all ran (a finding aborts).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') // not .gitkeep
                files.push_back(entry.path());
        if (error) {
            std::fprintf(stderr, "zip_reader_replay: %s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("zip_reader_replay: %d inputs, no finding\n", replayed);
    return 0;
}
