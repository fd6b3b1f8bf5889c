// Runs a fuzz target once on every file of its corpus folder, so the seeds (and any input kept
// from a finding) are checked by every ordinary build.
#include "fuzz/fuzztarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

std::vector<std::filesystem::path> corpusFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// An exactly sized copy, so a read past the input's end is caught under AddressSanitizer.
bool replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    const auto input = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), input.get());
    LLVMFuzzerTestOneInput(input.get(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER\n";
        return 2;
    }
    try {
        const auto files = corpusFiles(argv[1]);
        if (files.empty()) {
            std::cerr << "no inputs in " << argv[1] << "\n";
            return 1;
        }
        for (const auto& file : files) {
            if (!replay(file)) {
                std::cerr << "cannot read " << file << "\n";
                return 1;
            }
        }
        std::cout << "replayed " << files.size() << " inputs from " << argv[1] << "\n";
    } catch (const std::filesystem::filesystem_error& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
