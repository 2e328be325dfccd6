#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "job/image_to_video_class.h"
#include "support/temp_folder.h"

namespace {

using Paths = std::vector<std::string>;

struct SortRun {
    SortRun(const Paths& paths, int mode, int depth = -1,
            const std::string& folder = "/nonexistent") {
        job.Initialize(static_cast<int32_t>(paths.size() + 1), nullptr);
        job.ShowErrorWindows = false;
        job.SortMode = mode;
        job.SortDepth = depth;
        std::strcpy(job.OutputFolder, folder.c_str());
        for (const std::string& p : paths)
            std::strcpy(job.ImageList[job.ImageCount++].Path, p.c_str());
        testing::internal::CaptureStdout();
        result = job.SortList(0, job.ImageCount);
        console = testing::internal::GetCapturedStdout();
        for (int i = 0; i < job.ImageCount; ++i)
            sorted.push_back(job.ImageList[i].Path);
    }
    IMAGE_TO_VIDEO_CLASS job;
    int result = 0;
    std::string console;
    Paths sorted;
};

} // namespace

TEST(SortList, OrdersTheListInPlace) {
    struct Case {
        Paths paths;
        int mode;
        int depth;
        Paths sorted;
    } cases[] = {
        {{"img2.jpg", "img10.jpg", "img1.jpg"}, 1, -1, {"img1.jpg", "img2.jpg", "img10.jpg"}},
        {{"img2.jpg", "img10.jpg", "img1.jpg"}, 2, -1, {"img10.jpg", "img2.jpg", "img1.jpg"}},
        {{"img2.jpg", "img10.jpg", "img1.jpg"}, 0, -1, {"img2.jpg", "img10.jpg", "img1.jpg"}},
        {{"b/IMG5.jpg", "a/img5.JPG"},
         1,
         8,
         {"b/IMG5.jpg", "a/img5.JPG"}}, // equal keys stay where they are
        {{"z/a.jpg", "y/b.bmp", "x/c.jpg", "w/d.bmp"},
         1,
         3,
         {"y/b.bmp", "w/d.bmp", "x/c.jpg", "z/a.jpg"}},
        {{"c.jpg", "a.jpg", "b.jpg"}, 1, 0, {"c.jpg", "a.jpg", "b.jpg"}},
        {{"/p/b.jpg", "/p/\xE9.jpg", "/p/a.jpg"}, 1, -1, {"/p/\xE9.jpg", "/p/a.jpg", "/p/b.jpg"}},
        {{"/b/2.jpg", "/a/10.jpg"}, 1, 6, {"/b/2.jpg", "/a/10.jpg"}},
        {{"/b/2.jpg", "/a/10.jpg"}, 1, -1, {"/a/10.jpg", "/b/2.jpg"}},
    };
    for (const Case& c : cases) {
        SortRun run(c.paths, c.mode, c.depth);
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.sorted, c.sorted) << c.paths[0] << " mode " << c.mode << " depth " << c.depth;
    }
}

TEST(SortList, ReportsEveryFifteenthPositionAndTheLast) {
    Paths paths;
    for (int i = 31; i >= 1; --i)
        paths.push_back("p" + std::to_string(i));
    SortRun run(paths, 1);
    EXPECT_EQ(run.console, "\n\nSorting list forward...\n"
                           "3% - sorted 1 of 31...\r"
                           "51% - sorted 16 of 31...\r"
                           "100% - sorted 31 of 31...\r"
                           "\nImage list sorted successfully.\n");
    EXPECT_EQ(run.sorted.front(), "p1");
    EXPECT_EQ(run.sorted.back(), "p31");

    SortRun one({"only.jpg"}, 2);
    EXPECT_EQ(
        one.console,
        "\nSorting list backward...\n100% - sorted 1 of 1...\r\nImage list sorted successfully.\n");
}

TEST(SortList, AbortMarkerStopsAtAProgressPoint) {
    TempFolder folder;
    WriteFile(folder / "Abort.vtl", "");
    SortRun run({"b", "a"}, 1, -1, folder.Path());
    EXPECT_EQ(run.result, -1);
    EXPECT_TRUE(run.console.ends_with("50% - sorted 1 of 2...\r\n\nAborted sort per user request."))
        << run.console;
    EXPECT_EQ(run.sorted, (Paths{"b", "a"}));
}
