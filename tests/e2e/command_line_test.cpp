#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/expected_text.h"
#include "support/temp_folder.h"
#include "support/tool_run.h"

namespace {

using Args = std::vector<std::string>;

class CommandLine : public testing::Test {
  protected:
    ToolResult Run(const Args& args) { return RunTool(args, temp.Path()); }
    TempFolder temp;
};

std::string HelpScreen() {
    return ReadFile(std::string(VNTRL_TEST_DATA) + "/help_screen.txt");
}

} // namespace

TEST_F(CommandLine, HelpWordsPrintTheHelpScreenOnly) {
    for (const Args& args : {Args{"HELP"}, Args{"help"}, Args{"?"}, Args{"/?"},
                             Args{"?", "/p", "x", "y.avi", "-lf", "l"}}) {
        const ToolResult run = Run(args);
        EXPECT_EQ(run.ExitCode, 0) << args[0];
        EXPECT_EQ(run.Out, HelpScreen()) << args[0];
        EXPECT_EQ(run.Err, "");
    }
    EXPECT_FALSE(PathExists(temp / "l")) << "nothing after the help word is read";
}

TEST_F(CommandLine, RequiredCommandErrors) {
    struct Case {
        Args args;
        int code;
        std::string out;
        std::string window;
    };
    const std::string noOutput =
        "\nNo output file name was specified. Pleasespecify an output file name. - main()\n\n";
    const Case cases[] = {
        {{"x"},
         8,
         expected::Initialized + expected::GettingRequired + expected::NoInput +
             expected::ExitAborted,
         expected::Window(expected::NoInput)},
        {{"Help"},
         8,
         expected::Initialized + expected::GettingRequired + expected::NoInput +
             expected::ExitAborted,
         expected::Window(expected::NoInput)},
        {{"/t"},
         8,
         expected::Initialized + expected::GettingRequired + expected::NoInput +
             expected::ExitAborted,
         expected::Window(expected::NoInput)},
        {{"x", "/p"},
         9,
         expected::Initialized + expected::GettingRequired + expected::NoInput +
             expected::ExitAborted,
         expected::Window(expected::NoInput)},
        {{"/P", "in"},
         10,
         expected::Initialized + expected::GettingRequired + noOutput + expected::ExitAborted,
         expected::Window(noOutput)},
        {{"/t", "list.txt"},
         10,
         expected::Initialized + expected::GettingRequired + noOutput + expected::ExitAborted,
         expected::Window(noOutput)},
    };
    for (const Case& c : cases) {
        const ToolResult run = Run(c.args);
        EXPECT_EQ(run.ExitCode, c.code) << c.args[0];
        EXPECT_EQ(run.Out, c.out) << c.args[0];
        EXPECT_EQ(run.Err, c.window) << c.args[0];
    }
}

TEST_F(CommandLine, HiddenWindowsNeverReachTheUser) {
    for (const char* hew : {"-hew", "-HEW"}) {
        const ToolResult run = Run({"x", "y", hew});
        EXPECT_EQ(run.ExitCode, 8);
        EXPECT_EQ(run.Err, "") << hew;
    }
    const ToolResult mixed = Run({"x", "y", "-Hew"});
    EXPECT_NE(mixed.Err, "") << "mixed case is not the option";
}

TEST_F(CommandLine, StartupOptionErrors) {
    const std::string mi = "\nValue of -mi is not valid. - main()\n\n";
    const std::string lfMissing = "\n[Vantrel_CL - Error] ERROR: Please include a file name after "
                                  "the log command (i.e. [-lf Vntrl.log] or "
                                  "[-lf c:\\Vntrl.log]) [OK] -> OK\n";
    struct Case {
        Args args;
        int code;
        std::string out;
        std::string err;
    } cases[] = {
        {{"/p", "in", "out.avi", "-lf"}, 3, "\n\n\nExit - Aborted", lfMissing},
        {{"/p", "in", "out.avi", "-hew", "-LF"}, 3, "\n\n\nExit - Aborted", ""},
        {{"/p", "in", "out.avi", "-lf", "/no/such/folder/x.log"},
         4,
         "\nOpening log file /no/such/folder/x.log for writing...\n\n\nExit - Aborted",
         "\n[Vantrel_CL - Error] ERROR: Unable to open log file for writing. Please make sure that "
         "the disk is "
         "accessible. [OK] -> OK\n"},
        {{"/p", "in", "out.avi", "-mi", "0"}, 5, mi + expected::ExitAborted, expected::Window(mi)},
        {{"/p", "in", "out.avi", "-mi", "abc"},
         5,
         mi + expected::ExitAborted,
         expected::Window(mi)},
        {{"/p", "in", "out.avi", "-MI"}, 5, mi + expected::ExitAborted, expected::Window(mi)},
        {{"/p", "in", "out.avi", "-hew", "-lf", std::string(1024, 'l')},
         17,
         "\nERROR: The value of -lf is longer than 1023 characters. - main()\n\n" +
             expected::ExitAborted,
         ""},
    };
    for (const Case& c : cases) {
        const ToolResult run = Run(c.args);
        EXPECT_EQ(run.ExitCode, c.code) << c.args.back();
        EXPECT_EQ(run.Out, c.out) << c.args.back();
        EXPECT_EQ(run.Err, c.err) << c.args.back();
    }
}

TEST_F(CommandLine, ListThatCannotBeAllocatedEndsTheRun) {
#ifdef VNTRL_SANITIZED
    GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#else
    const std::string text = "\nERROR: Unable to allocate memory for image list. - main()\n\n";
    const ToolResult run =
        RunTool({"/p", "in", "out.avi", "-mi", "2000000000"}, temp.Path(), 60, 1L << 30);
    EXPECT_EQ(run.ExitCode, 7);
    EXPECT_EQ(run.Out, "\nInitializing video class..." + text + expected::ExitAborted);
    EXPECT_EQ(run.Err, expected::Window(text));
#endif
}

TEST_F(CommandLine, LogFileHoldsEverythingButProgressAndEndsWithTheExitLine) {
    const ToolResult run = Run({"/p", "missing", "out.avi", "-lf", "run.log", "-mi", "20"});
    EXPECT_EQ(run.ExitCode, 18);
    const std::string error = "\n\nERROR: Error occured while searching for files. - "
                              "IMAGE_TO_VIDEO_CLASS::AddImagesFromDir()\n\n";
    const std::string body =
        expected::Start + expected::FolderHeader("missing", expected::DefaultMasks, 0) + error;
    EXPECT_EQ(ReadFile(temp / "run.log"), expected::LogHeader + body + expected::ExitAborted);
    EXPECT_EQ(run.Out,
              "\nOpening log file run.log for writing...\nLog file opened successfully.\n" + body +
                  "\nSee log file for details." + expected::ExitAborted);
    EXPECT_EQ(run.Err, expected::Window(error, true));
}

TEST_F(CommandLine, LogFileIsReplaced) {
    WriteFile(temp / "run.log", std::string(5000, 'o'));
    Run({"/p", "missing", "out.avi", "-hew", "-lf", "run.log"});
    EXPECT_EQ(ReadFile(temp / "run.log").rfind(expected::LogHeader, 0), 0u);
    EXPECT_EQ(ReadFile(temp / "run.log").find("ooo"), std::string::npos);
}

TEST_F(CommandLine, OutputFolderChecks) {
    const std::string missing = "\nERROR: Output directory path does not exist. Please create the "
                                "path, or use the -fdir option to allow "
                                "Vantrel to create the path for you. - main()\n\n";
    const ToolResult noFolder = Run({"/p", "in", "sub/dir/out.avi", "-hew"});
    EXPECT_EQ(noFolder.ExitCode, 16);
    EXPECT_EQ(noFolder.Out, expected::Initialized + expected::Required +
                                "\nGetting optional commands..." + missing + expected::ExitAborted);

    const ToolResult created = Run({"/p", "missing", "sub/dir/out.avi", "-hew", "-FDIR"});
    EXPECT_EQ(created.ExitCode, 18) << "the folder exists now, so the run goes on to gathering";
    EXPECT_TRUE(PathExists(temp / "sub/dir"))
        << "relative folders are created in the current folder";

    const ToolResult impossible = Run({"/p", "in", "/proc/self/x/out.avi", "-hew", "-fdir"});
    EXPECT_EQ(impossible.ExitCode, 15);

    const ToolResult threeArguments = Run({"/p", "missing", "sub/none/out.avi"});
    EXPECT_EQ(threeArguments.ExitCode, 18)
        << "with three arguments the output folder is not checked";
    EXPECT_EQ(threeArguments.Out.find("Getting optional commands"), std::string::npos);
}

TEST_F(CommandLine, OptionErrorsEndTheRun) {
    struct Case {
        Args options;
        int code;
    } cases[] = {
        {{"-gif", "1", "0"}, 12},
        {{"-gif", "-1", "0", "0"}, 11},
        {{"-GIF", "0", "0", "5"}, 11},
        {{"-hcd"}, 14},
        {{"-HCD", "DIVX5"}, 13},
        {{"-sem", std::string(500, 'm')}, 17},
        {{"-ia", std::string(1024, 'a')}, 17},
    };
    for (const Case& c : cases) {
        Args args = {"/p", "missing", "out.avi", "-hew"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ToolResult run = Run(args);
        EXPECT_EQ(run.ExitCode, c.code) << c.options[0];
        EXPECT_TRUE(run.Out.ends_with("\n\n" + expected::ExitAborted)) << run.Out;
    }
    const ToolResult longInput = Run({"/p", std::string(1024, 'p'), "out.avi", "-hew"});
    EXPECT_EQ(longInput.ExitCode, 17);
    EXPECT_NE(
        longInput.Out.find("\nERROR: The value of /p is longer than 1023 characters. - main()\n\n"),
        std::string::npos);
}

TEST_F(CommandLine, WarningsAreWrittenAndCounted) {
    const ToolResult run =
        Run({"/p", "missing", "out.avi", "-hew", "-fps", "0", "-pf", "16", "-rm"});
    EXPECT_EQ(run.ExitCode, 18);
    EXPECT_NE(
        run.Out.find(
            "\nGetting optional commands...\nWARNING: FPS must be greater than zero. Using default."
            "\nWARNING: Specified pixel format is not valid. Using default."
            "\nWARNING: Resize method not specified. Using default.\nRetrieved optional "
            "commands.\n"),
        std::string::npos)
        << run.Out;
}

TEST_F(CommandLine, AbortMarkerBeforeCompilingStopsTheRunAndIsDeleted) {
    WriteFile(temp / "in/a.jpg", "x");
    for (const Args& extra : {Args{}, Args{"-co"}}) {
        WriteFile(temp / "Abort.vtl", "");
        Args args = {"/p", "in", "out.avi", "-hew"};
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolResult run = Run(args);
        EXPECT_EQ(run.ExitCode, 255);
        EXPECT_TRUE(run.Out.ends_with(expected::AbortedBeforeCompiling + expected::ExitAborted))
            << run.Out;
        EXPECT_FALSE(PathExists(temp / "Abort.vtl"));
    }
}

TEST_F(CommandLine, AFolderNamedLikeTheMarkerIsNoMarker) {
    WriteFile(temp / "in/a.jpg", "x");
    WriteFile(temp / "Abort.vtl/inside", "");
    const ToolResult run = Run({"/p", "in", "out.avi", "-hew"});
    EXPECT_NE(run.ExitCode, 255);
    EXPECT_TRUE(PathExists(temp / "Abort.vtl/inside"));
}

TEST_F(CommandLine, MarkerInTheOutputFolderOfAnAbsoluteName) {
    TempFolder output;
    WriteFile(temp / "in/a.jpg", "x");
    WriteFile(output / "Abort.vtl", "");
    const ToolResult run = Run({"/p", "in", output / "out.avi", "-hew"});
    EXPECT_EQ(run.ExitCode, 255);
    EXPECT_FALSE(PathExists(output / "Abort.vtl"));
}

TEST_F(CommandLine, EarlyExitsLeaveMarkersAlone) {
    WriteFile(temp / "Abort.vtl", "");
    EXPECT_EQ(Run({"/p", "in", "out.avi", "-hew", "-mi", "0"}).ExitCode, 5);
    EXPECT_TRUE(PathExists(temp / "Abort.vtl")) << "no output folder is known yet";
}
