#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "support/tool_run.h"

TEST(OnATerminal, NoArgumentsCountsDownInPlace) {
    TempFolder temp;
    const ToolResult run = RunToolOnTerminal({}, temp.Path(), {}, 20);
    EXPECT_EQ(run.ExitCode, 0);
    std::string countdown;
    for (int n = 7; n >= 1; --n)
        countdown += "Exiting in " + std::to_string(n) + " seconds... \r";
    EXPECT_TRUE(run.Out.ends_with("\r\n" + countdown)) << run.Out.substr(run.Out.size() - 400);
    EXPECT_NE(run.Out.find("\033]0;Vantrel_CL Version 1.0.0.0    Orlend Software\007"),
              std::string::npos)
        << "the title is set on a terminal";
}

TEST(OnATerminal, ErrorWindowWaitsForTheUser) {
    TempFolder temp;
    const ToolResult run =
        RunToolOnTerminal({"/p", "missing", "out.avi"}, temp.Path(), {{"[ OK ]", "\r"}});
    EXPECT_EQ(run.ExitCode, 18);
    EXPECT_NE(run.Out.find("+- Vantrel_CL - Error "), std::string::npos);
    EXPECT_NE(run.Out.find("| ERROR: Error occured while searching for files. - "),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("| See output for details."), std::string::npos);
    EXPECT_TRUE(run.Out.ends_with("Exit - Aborted"));
}
