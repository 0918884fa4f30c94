#include <gtest/gtest.h>

#include "workspace/CommandLine.h"

using namespace zavuv::workspace;

namespace {

void expectParsed(std::string_view line, std::string_view path, std::string_view switchText) {
    const CommandLine parsed = parseRawCommandLine(line);
    EXPECT_EQ(parsed.projectPath, path) << "line: " << line;
    EXPECT_EQ(parsed.switchText, switchText) << "line: " << line;
}

}  // namespace

TEST(RawCommandLine, QuotedPathAndSwitch) {
    expectParsed(R"("C:\Program Files\zavuv.exe" "C:\my projects\a.kb2" -autoprogram)",
                 R"(C:\my projects\a.kb2)", "-autoprogram");
    expectParsed(R"(zavuv.exe "C:\a.kb2" -autoprogram)", R"(C:\a.kb2)", "-autoprogram");
    expectParsed(R"(zavuv.exe "C:\a.kb2")", R"(C:\a.kb2)", "");
    EXPECT_TRUE(isAutoProgramSwitch(parseRawCommandLine(R"(z "a.kb2" -autoprogram)").switchText));
}

TEST(RawCommandLine, OneSeparatorIsSkippedWhateverItIs) {
    expectParsed(R"(zavuv.exe "C:\a.kb2"  -autoprogram)", R"(C:\a.kb2)", " -autoprogram");
    expectParsed(R"(zavuv.exe "C:\a.kb2"x-autoprogram)", R"(C:\a.kb2)", "-autoprogram");
    expectParsed(R"(zavuv.exe "C:\a.kb2" )", R"(C:\a.kb2)", "");
    expectParsed(R"(zavuv.exe "C:\a.kb2" x)", R"(C:\a.kb2)", "x");
    // After a quoted program name the separator is skipped, not checked.
    expectParsed(R"("zavuv.exe"Xa.kb2)", "a.kb2", "");
}

TEST(RawCommandLine, UnquotedRemainderIsThePathWhole) {
    expectParsed(R"(zavuv.exe C:\my projects\a.kb2 -autoprogram)",
                 R"(C:\my projects\a.kb2 -autoprogram)", "");
    expectParsed(R"("C:\x y\zavuv.exe" C:\a.kb2)", R"(C:\a.kb2)", "");
}

TEST(RawCommandLine, NoPath) {
    expectParsed("zavuv.exe", "", "");
    expectParsed("zavuv.exe ", "", "");
    expectParsed(R"("C:\x y\zavuv.exe")", "", "");
    expectParsed(R"("C:\x y\zavuv.exe" "")", "", "");
    expectParsed(R"("C:\unclosed program name a.kb2)", "", "");
    expectParsed("", "", "");
}

TEST(RawCommandLine, UnclosedQuoteRunsToTheEnd) {
    expectParsed(R"(zavuv.exe "C:\a b.kb2 -autoprogram)", R"(C:\a b.kb2 -autoprogram)", "");
}

TEST(AutoProgramSwitch, OnlyTheExactText) {
    EXPECT_TRUE(isAutoProgramSwitch("-autoprogram"));
    EXPECT_FALSE(isAutoProgramSwitch("-AutoProgram"));
    EXPECT_FALSE(isAutoProgramSwitch(" -autoprogram"));
    EXPECT_FALSE(isAutoProgramSwitch("-autoprogram "));
    EXPECT_FALSE(isAutoProgramSwitch("-autoprogram x"));
    EXPECT_FALSE(isAutoProgramSwitch(""));
}

TEST(ArgumentCommandLine, FirstIsThePathTheRestTheSwitch) {
    const std::vector<std::string> none;
    EXPECT_EQ(commandLineFromArguments(none).projectPath, "");

    const std::vector<std::string> pathOnly = {"/home/u/my project.kb2"};
    EXPECT_EQ(commandLineFromArguments(pathOnly).projectPath, "/home/u/my project.kb2");
    EXPECT_EQ(commandLineFromArguments(pathOnly).switchText, "");

    const std::vector<std::string> withSwitch = {"/p/a.kb2", "-autoprogram"};
    EXPECT_TRUE(isAutoProgramSwitch(commandLineFromArguments(withSwitch).switchText));

    const std::vector<std::string> extra = {"/p/a.kb2", "-autoprogram", "now"};
    EXPECT_EQ(commandLineFromArguments(extra).switchText, "-autoprogram now");
    EXPECT_FALSE(isAutoProgramSwitch(commandLineFromArguments(extra).switchText));

    const std::vector<std::string> emptySwitch = {"/p/a.kb2", "", "-autoprogram"};
    EXPECT_EQ(commandLineFromArguments(emptySwitch).switchText, " -autoprogram");
}
