#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "e2e/expected_text.h"
#include "support/temp_folder.h"
#include "support/tool_run.h"

namespace {

using Args = std::vector<std::string>;
using Paths = std::set<std::string>;

// Runs with the abort marker in place, so that the run ends right before compiling and
// shows exactly what was gathered.
class Gathering : public testing::Test {
  protected:
    ToolResult RunUntilCompile(Args args) {
        WriteFile(temp / "Abort.vtl", "");
        args.insert(args.end(), {"-hew", "-lf", "run.log"});
        ToolResult run = RunTool(args, temp.Path());
        log = ReadFile(temp / "run.log");
        return run;
    }
    // The list reader looks for the marker before its first entry, so list runs go on to
    // the compile stage; what they gathered is in the log either way.
    ToolResult RunPastGathering(Args args) {
        args.insert(args.end(), {"-hew", "-lf", "run.log"});
        ToolResult run = RunTool(args, temp.Path());
        log = ReadFile(temp / "run.log");
        EXPECT_NE(run.ExitCode, 18) << "gathering failed:\n" << log;
        return run;
    }
    // The paths the log names as loaded, whichever reader loaded them.
    Paths Loaded() const {
        Paths paths;
        for (size_t at = log.find("\nLoaded file path "); at != std::string::npos;
             at = log.find("\nLoaded file path ", at + 1)) {
            const size_t start = log.find(": ", at) + 2;
            paths.insert(log.substr(start, log.find('\n', start) - start));
        }
        return paths;
    }
    std::string ListFile(const std::string& text) {
        WriteFile(temp / "list.txt", text);
        return "list.txt";
    }

    TempFolder temp;
    std::string log;
};

} // namespace

TEST_F(Gathering, FolderScanWithTheDefaultMasks) {
    for (const char* name :
         {"a.jpg", "b.JPG", "c.Jpeg", "d.txt", "e.jp", "f.bmp", ".hidden.gif", "g", "sub/h.jpg"})
        WriteFile(temp / (std::string("in/") + name), "x");
    std::filesystem::create_directories(temp / "in/x.jpg");
    const ToolResult run = RunUntilCompile({"/p", "in", "out.avi"});
    EXPECT_EQ(run.ExitCode, 255);
    EXPECT_EQ(Loaded(), (Paths{"in/a.jpg", "in/b.JPG", "in/c.Jpeg", "in/e.jp", "in/f.bmp",
                               "in/.hidden.gif"}));
    EXPECT_NE(log.find(expected::FolderHeader("in", expected::DefaultMasks, 0)), std::string::npos);
    EXPECT_TRUE(log.ends_with("\n6 image paths loaded from input folder.\n" +
                              expected::AbortedBeforeCompiling + expected::ExitAborted))
        << log;
    EXPECT_NE(run.Out.find("Loaded 6 file paths so far...\r\n6 image paths loaded"),
              std::string::npos);
    EXPECT_EQ(log.find('\r'), std::string::npos) << "progress reaches the log as lines only";
}

TEST_F(Gathering, SubFoldersTrailingSeparatorAndCustomMasks) {
    for (const char* name : {"a.jpg", "deep/b.jpg", "deep/deeper/c.PNG", "x.jpg/d.jpg", "e.txt"})
        WriteFile(temp / (std::string("in/") + name), "x");
    RunUntilCompile({"/p", "in/", "out.avi", "-subf"});
    EXPECT_EQ(Loaded(), (Paths{"in/a.jpg", "in/deep/b.jpg", "in/x.jpg/d.jpg"}));

    struct Case {
        std::string masks;
        Paths paths;
    } cases[] = {
        {"*.png", {"in/deep/deeper/c.PNG"}},
        {"*.txt,*.PNG", {"in/e.txt", "in/deep/deeper/c.PNG"}},
        {"*.*",
         {"in/a.jpg", "in/deep/b.jpg", "in/deep/deeper/c.PNG", "in/x.jpg/d.jpg", "in/e.txt"}},
    };
    for (const Case& c : cases) {
        RunUntilCompile({"/p", "in", "out.avi", "-subf", "-sem", c.masks});
        EXPECT_EQ(Loaded(), c.paths) << c.masks;
        EXPECT_NE(log.find("Using mask list: " + c.masks + "\nInclude Sub Folders set to: 1\n"),
                  std::string::npos);
    }
}

TEST_F(Gathering, DotInAFolderNameCountsWhenTheFileHasNone) {
    WriteFile(temp / "in/pics.jpg/photo", "x");
    RunUntilCompile({"/p", "in/pics.jpg", "out.avi"});
    EXPECT_EQ(Loaded(), Paths{}) << "the extension is .jpg/photo";
    RunUntilCompile({"/p", "in/pics.jpg", "out.avi", "-sem", "*.jpg/photo"});
    EXPECT_EQ(Loaded(), (Paths{"in/pics.jpg/photo"}));
}

TEST_F(Gathering, SymbolicLinkCycleIsNotEnteredAgain) {
    WriteFile(temp / "in/a.jpg", "x");
    WriteFile(temp / "in/sub/b.jpg", "x");
    std::filesystem::create_directory_symlink("..", temp / "in/sub/up");
    std::filesystem::create_directory_symlink("sub", temp / "in/again");
    const ToolResult run = RunUntilCompile({"/p", "in", "out.avi", "-subf"});
    EXPECT_EQ(run.ExitCode, 255);
    EXPECT_EQ(Loaded(), (Paths{"in/a.jpg", "in/sub/b.jpg", "in/again/b.jpg"}))
        << "other links are followed";
}

TEST_F(Gathering, TooLongPathsAreSkippedWithAWarning) {
    const std::string deep = std::string(250, 'd') + "/" + std::string(250, 'e') + "/" +
                             std::string(250, 'f') + "/" + std::string(250, 'g') + "/" +
                             std::string(30, 'h');
    WriteFile(temp / ("in/" + deep + "/long.jpg"), "x");
    WriteFile(temp / "in/short.jpg", "x");
    RunUntilCompile({"/p", "in", "out.avi", "-subf"});
    EXPECT_EQ(Loaded(), (Paths{"in/short.jpg"}));
    EXPECT_NE(log.find("\nWARNING: The path \"in/" + deep +
                       "\" is longer than 1023 characters. It was skipped."),
              std::string::npos);
    EXPECT_NE(log.find("Exit - Aborted"), std::string::npos);
}

TEST_F(Gathering, AFullListEndsTheScanWithAWarning) {
    for (int i = 0; i < 5; ++i)
        WriteFile(temp / ("in/" + std::to_string(i) + ".jpg"), "x");
    RunUntilCompile({"/p", "in", "out.avi", "-mi", "5"});
    EXPECT_EQ(Loaded().size(), 5u);
    EXPECT_NE(
        log.find(
            "\nWARNING: The number of image paths loaded has reached it's allocated limit of "
            "5.\nFolder "
            "search terminated.\nSee the help command for instructions on changing this limit. - "
            "IMAGE_TO_VIDEO_CLASS::SearchForFiles()\n\n\nOne or more warnings occured while "
            "searching for "
            "files.\n\n\n5 image paths loaded from input folder.\n"),
        std::string::npos)
        << log;
    RunUntilCompile({"/p", "in", "out.avi", "-mi", "3"});
    EXPECT_EQ(Loaded().size(), 3u);
}

TEST_F(Gathering, MissingFolderFailsTheRun) {
    const ToolResult run = RunTool({"/p", "nowhere", "out.avi", "-hew"}, temp.Path());
    EXPECT_EQ(run.ExitCode, 18);
    EXPECT_TRUE(run.Out.ends_with("\n\nERROR: Error occured while searching for files. - "
                                  "IMAGE_TO_VIDEO_CLASS::AddImagesFromDir()\n\n" +
                                  expected::ExitAborted));
}

TEST_F(Gathering, AbortMarkerInTheScanIsSeenAtTheHundredthFile) {
    for (int i = 0; i < 150; ++i)
        WriteFile(temp / ("in/" + std::to_string(i) + (i % 2 ? ".jpg" : ".txt")), "x");
    const ToolResult run = RunUntilCompile({"/p", "in", "out.avi"});
    EXPECT_EQ(run.ExitCode, 255);
    EXPECT_TRUE(log.ends_with(expected::AbortedBeforeCompiling + expected::ExitAborted));
    EXPECT_EQ(log.find("image paths loaded from input folder"), std::string::npos)
        << "the scan stopped";
    EXPECT_LT(Loaded().size(), 75u);
    EXPECT_FALSE(PathExists(temp / "Abort.vtl"));
}

TEST_F(Gathering, ListFileWithCommentsAndMissingFiles) {
    WriteFile(temp / "pics/one.jpg", "x");
    WriteFile(temp / "pics/two words.jpg", "x");
    WriteFile(temp / "pics/\xE9t\xE9.jpg", "x");
    const std::string list =
        ListFile("4\n"
                 "// holiday \"pictures\" of 2024\n"
                 "\"pics/one.jpg\"\n"
                 "/* \"not/this.jpg\" */ free text \"pics/two words.jpg\"\n"
                 "\"pics/gone.jpg\" \"pics/\xE9t\xE9.jpg\" \"pics/never/read.jpg\"");
    const ToolResult run = RunPastGathering({"/t", list, "out.avi"});
    EXPECT_EQ(Loaded(),
              (Paths{"pics/one.jpg", "pics/two words.jpg", "pics/gone.jpg", "pics/\xE9t\xE9.jpg"}));
    EXPECT_NE(log.find("\nLoading image paths from file: list.txt...\n"), std::string::npos);
    EXPECT_NE(log.find("\nLoaded file path 3 of 4: pics/gone.jpg\nWARNING: file \"pics/gone.jpg\" "
                       "does not exist. "
                       "File skipped. - IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n"),
              std::string::npos);
    EXPECT_NE(log.find("\n\n3 image paths loaded from file. There were 1 warnings.\n"),
              std::string::npos);
    EXPECT_NE(run.Out.find("Loading file path 4 of 4...\r"), std::string::npos);
}

TEST_F(Gathering, ListFileEdgeCases) {
    WriteFile(temp / "a.jpg", "x");
    struct Case {
        std::string text;
        Paths loaded;
        std::string shown;
    } cases[] = {
        {"2 \"a.jpg\" \"a.jpg\" \"b.jpg\"", {"a.jpg"}, "\n\n2 image paths loaded from file.\n"},
        {"1 //c\n/comment\n\"a.jpg\"",
         {"a.jpg"},
         "\n\n1 image paths loaded from file.\n"}, // '/' opens again
        {"1 /*x*/*x*/\"a.jpg\"", {"a.jpg"}, "\n\n1 image paths loaded from file.\n"},
        {"2 \"\" \"a.jpg",
         {"", "a.jpg"},
         "\n\n1 image paths loaded from file. There were 1 warnings.\n"},
        {"  +1\"a.jpg\"", {"a.jpg"}, "\n\n1 image paths loaded from file.\n"},
    };
    for (const Case& c : cases) {
        const ToolResult run = RunPastGathering({"/t", ListFile(c.text), "out.avi"});
        EXPECT_EQ(Loaded(), c.loaded) << c.text;
        EXPECT_NE(log.find(c.shown), std::string::npos) << c.text << "\n" << log;
    }
}

TEST_F(Gathering, ListFileResultCodes) {
    WriteFile(temp / "a.jpg", "x");
    std::string path1021;
    for (char c : {'p', 'q', 'r', 's'})
        path1021 += std::string(250, c) + "/";
    path1021 += std::string(13, 't') + ".jpg";
    WriteFile(temp / path1021, "x");
    ASSERT_EQ(path1021.size(), 1021u);
    const std::string operation = " - IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n";
    struct Case {
        std::string list; // the list file's text, or a path when it starts with '@'
        std::string error;
    } cases[] = {
        {"@missing.txt", "\nERROR: The specified input file does not exist." + operation},
        {"@/proc/sys/vm/compact_memory", "\nERROR: Unable to open input file. Please make sure "
                                         "that the file is accessible and that no other "
                                         "programs are using it." +
                                             operation},
        {"0 \"a.jpg\"", "\nERROR: The number of image paths to load is not valid." + operation},
        {"-2 \"a.jpg\"", "\nERROR: The number of image paths to load is not valid." + operation},
        {"// 1\n\"a.jpg\"", "\nERROR: The number of image paths to load is not valid." + operation},
        {"three", "\nERROR: The number of image paths to load is not valid." + operation},
        {"1 /* \"a.jpg\"",
         "\nERROR: Ending comment marker \"*/\" was not found in the input file. End of file "
         "reached." +
             operation},
        {"3 \"" + path1021 + "\" \"" + path1021 + "\"",
         "\nERROR: Input file ended unexpectedly. Read cancelled." + operation},
        {"1 " + std::string(30000, ' ') + "\"a.jpg\"",
         "\nERROR: 30,000 characters were scanned without finding double quotes. File read "
         "cancelled. finding an "
         "image path." +
             operation},
        {"1 \"" + path1021 + "x\"", "\nERROR: A file path in the input list exceeds the maximum "
                                    "path limit for this program of 1000 "
                                    "characters." +
                                        operation},
        {"2 \"no.jpg\" \"nope.jpg\"",
         "\n\nERROR: Zero image paths were added to the list.All picture file paths are invalid." +
             operation},
    };
    for (const Case& c : cases) {
        const std::string list = c.list[0] == '@' ? c.list.substr(1) : ListFile(c.list);
        const ToolResult run = RunTool({"/t", list, "out.avi", "-hew"}, temp.Path());
        EXPECT_EQ(run.ExitCode, 18) << c.error;
        EXPECT_TRUE(run.Out.ends_with(c.error + expected::ExitAborted))
            << run.Out.substr(run.Out.size() - 300);
    }
    // Within the limits the same shapes are accepted.
    for (const std::string& text : {"1" + std::string(29999, ' ') + "\"a.jpg\"",
                                    "1 \"" + path1021 + "\"", "2 \"" + path1021 + "\" \"a.jpg\""}) {
        RunPastGathering({"/t", ListFile(text), "out.avi"});
    }
}

TEST_F(Gathering, AFullListStopsReadingTheListFile) {
    WriteFile(temp / "a.jpg", "x");
    const ToolResult run = RunPastGathering(
        {"/t", ListFile("3 \"a.jpg\" \"a.jpg\" \"a.jpg\""), "out.avi", "-mi", "2"});
    EXPECT_NE(log.find("\nWARNING: The number of image paths loaded has reached it's allocated "
                       "limit of 2.\nThe rest "
                       "of the image paths in the input file will be ignored.\nSee the help "
                       "command for instructions "
                       "on changing this limit. - IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n\n2 "
                       "image paths loaded "
                       "from file. There were 1 warnings.\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("3 of 3"), std::string::npos) << "the third entry is not read";
}

TEST_F(Gathering, AbortMarkerInTheListReaderAndInTheSort) {
    WriteFile(temp / "a.jpg", "x");
    const ToolResult list = RunUntilCompile({"/t", ListFile("1 \"a.jpg\""), "out.avi"});
    EXPECT_EQ(list.ExitCode, 255);
    EXPECT_TRUE(log.ends_with("\nLoading image paths from file: list.txt...\n" +
                              expected::AbortedBeforeCompiling + expected::ExitAborted));
    EXPECT_FALSE(PathExists(temp / "Abort.vtl"));

    WriteFile(temp / "in/b.jpg", "x");
    const ToolResult sort = RunUntilCompile({"/p", "in", "out.avi", "-sf"});
    EXPECT_EQ(sort.ExitCode, 255);
    EXPECT_TRUE(log.ends_with(
        "\n\nSorting list forward...\n\n100% - sorted 1 of 1...\n\nAborted sort per user "
        "request." +
        expected::ExitAborted))
        << log;
    EXPECT_NE(sort.Out.find("100% - sorted 1 of 1...\r"), std::string::npos);
    EXPECT_FALSE(PathExists(temp / "Abort.vtl"));
}
