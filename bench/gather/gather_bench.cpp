// Figures for gathering the pictures: sorting realistic numbered paths, scanning a large
// folder, and the resident memory of an unused list capacity.
//   bench_gather [scratch folder]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "job/image_to_video_class.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// The job writes its progress to standard output; the figures go to standard error.
class QuietConsole {
  public:
    QuietConsole() : saved_(::dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        std::freopen("/dev/null", "w", stdout);
    }
    ~QuietConsole() {
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }

  private:
    int saved_;
};

std::vector<std::string> NumberedPaths(int count, bool mixedPadding) {
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        char name[96];
        // With mixed padding every number appears both as IMG_7 and as IMG_00007.
        if (mixedPadding)
            std::snprintf(name, sizeof name, i % 2 ? "/photos/IMG_%d.JPG" : "/photos/IMG_%05d.JPG",
                          i / 2);
        else
            std::snprintf(name, sizeof name, "/photos/%d/IMG_%05d.JPG", 2020 + i % 5, i);
        paths.push_back(name);
    }
    std::shuffle(paths.begin(), paths.end(), std::mt19937(42));
    return paths;
}

void BenchSort(int count, bool forward, bool mixedPadding) {
    const std::vector<std::string> paths = NumberedPaths(count, mixedPadding);
    IMAGE_TO_VIDEO_CLASS job;
    job.Initialize(count, nullptr);
    job.ShowErrorWindows = false;
    std::strcpy(job.OutputFolder, "/nonexistent");
    for (const std::string& p : paths)
        std::strcpy(job.ImageList[job.ImageCount++].Path, p.c_str());
    const auto start = Clock::now();
    int result;
    {
        QuietConsole quiet;
        result = forward ? job.SortListForward(0, count) : job.SortListBackward(0, count);
    }
    std::fprintf(
        stderr, "sort %-8s %6d paths%s: %.3f s (result %d)\n", forward ? "forward" : "backward",
        count, mixedPadding ? " (IMG_7 beside IMG_00007, exact scan)" : "", Seconds(start), result);
}

void BenchScan(const std::string& scratch, int count) {
    const std::string folder = scratch + "/scan";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i)
        std::ofstream(folder + "/IMG_" + std::to_string(i) + (i % 10 ? ".jpg" : ".txt"));
    IMAGE_TO_VIDEO_CLASS job;
    job.Initialize(count, nullptr);
    std::strcpy(job.OutputFolder, "/nonexistent");
    const auto start = Clock::now();
    int result;
    {
        QuietConsole quiet;
        result = job.AddImagesFromDir(folder.c_str());
    }
    const double seconds = Seconds(start);
    std::fprintf(stderr, "scan %d files: %.3f s, %.0f files per second, %d paths (result %d)\n",
                 count, seconds, count / seconds, job.ImageCount, result);
    std::filesystem::remove_all(folder);
}

void BenchListMemory() {
    const long before = ResidentKiB();
    IMAGE_TO_VIDEO_CLASS job;
    job.Initialize(100000, nullptr);
    for (int i = 0; i < 50; ++i)
        std::snprintf(job.ImageList[job.ImageCount++].Path, 1024, "/photos/IMG_%05d.JPG", i);
    std::fprintf(stderr, "list of 100000 entries with 50 used: resident memory grew by %ld KiB\n",
                 ResidentKiB() - before);
}

} // namespace

int main(int argc, char** argv) {
    const std::string scratch = argc > 1 ? argv[1] : "/tmp";
    BenchListMemory();
    for (int count : {20000, 100000})
        for (bool forward : {true, false})
            BenchSort(count, forward, false);
    BenchSort(20000, true, true);
    BenchScan(scratch, 100000);
    return 0;
}
