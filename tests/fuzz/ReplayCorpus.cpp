// Runs a fuzz target's checks over every file of a corpus folder, so the
// committed corpora stay ordinary tests in every build, without libFuzzer.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::set<std::filesystem::path> files;  // in name order
    if (argc == 2 && std::filesystem::is_directory(argv[1])) {
        for (const auto& item : std::filesystem::directory_iterator(argv[1])) files.insert(item.path());
    }
    // A missing, empty or misnamed folder would otherwise pass without checking anything.
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER (holding at least one input)\n", argv[0]);
        return 1;
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        // Named first: a failed check aborts, and the log then ends with the input behind it.
        std::printf("%s\n", file.filename().string().c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs\n", files.size());
}
