// Feeds every file under the folders named on the command line to a fuzz target, for
// builds without libFuzzer. Folders that do not exist are skipped with a note; when none
// exists the run exits 77 (skipped).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int files = 0, folders = 0;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) {
            std::printf("skipped %s: no such folder\n", argv[i]);
            continue;
        }
        ++folders;
        for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++files;
        }
    }
    std::printf("replayed %d files\n", files);
    return folders == 0 ? 77 : 0;
}
