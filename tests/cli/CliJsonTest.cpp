#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTesting.h"
#include "support/TextLines.h"

using nlohmann::json;
using zavuv::testing::CliRun;

using zavuv::testing::linesOf;
namespace {

// --json: standard output is one JSON object, nothing else.
json onlyObject(const std::string& out) {
    const auto lines = linesOf(out);
    EXPECT_EQ(lines.size(), 1u) << out;
    return json::parse(lines.at(0));
}

}  // namespace

// The facts of a board command are those the text run shows: its status lines
// (which move to standard error), its messages, its questions and answers.
TEST(CliJson, ABoardCommandReportsWhatTheTextRunSays) {
    CliRun cli;
    const auto text = cli({"-p", "sim", "-d", "ATmega8", "signature"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    const auto run = cli({"--json", "-p", "sim", "-d", "ATmega8", "signature"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json report = onlyObject(run.out);
    EXPECT_EQ(report["command"], "signature");
    EXPECT_EQ(report["port"], "sim");
    EXPECT_EQ(report["ok"], true);
    EXPECT_EQ(report["exitCode"], 0);
    EXPECT_EQ(report["status"].get<std::vector<std::string>>(), linesOf(text.out));
    EXPECT_EQ(run.err, text.out);
    EXPECT_TRUE(report["messages"].empty());
    EXPECT_GE(report["durationSeconds"].get<double>(), 0.0);

    // A failure and a question: the exit code and the answer are there too.
    const auto failed = cli(
        {"--json", "-n", "-p", "sim", "-d", "ATmega8", "--sim-fault", "silent-after=0", "erase"});
    EXPECT_EQ(failed.exitCode, 1);
    const json failure = onlyObject(failed.out);
    EXPECT_EQ(failure["ok"], false);
    EXPECT_EQ(failure["exitCode"], 1);
    EXPECT_EQ(failure["messages"], json::array({"Connection error"}));
}

TEST(CliJson, TheListsAreStructuredData) {
    CliRun cli;
    const json devices = onlyObject(cli({"--json", "devices"}).out);
    EXPECT_EQ(devices["command"], "devices");
    EXPECT_TRUE(devices["port"].is_null());
    const auto table = linesOf(cli({"devices"}).out);
    ASSERT_EQ(devices["data"].size(), table.size() - 1);
    EXPECT_EQ(devices["data"][12]["name"], "ATmega8");
    EXPECT_EQ(devices["data"][12]["signature"], "1E 93 07");
    EXPECT_TRUE(
        onlyObject(cli({"--json", "devices", "--aliases"}).out)["data"][0].contains("alias"));

    cli.folder().write("profile.ini", "[Ports]\nCOM2=sim\n");
    const json ports = onlyObject(cli({"--json", "ports"}).out);
    EXPECT_EQ(ports["data"][1]["slot"], "COM2");
    EXPECT_EQ(ports["data"][1]["simulated"], true);
    EXPECT_EQ(ports["data"][1]["state"], "simulated board");

    const std::string project = cli.folder().write(
        "job.kb2", "[Files]\nFlash=[Unspecified]\n[AutoProgram]\nLockMode=1\nFuse3=1\nFuse13=1\n"
                   "[Device]\nDeviceNo=12\n");
    const json shown = onlyObject(cli({"--json", "project", "show", project}).out);
    EXPECT_EQ(shown["data"]["Device"]["DeviceNo"], "12");
    EXPECT_EQ(shown["data"]["AutoProgram"]["Fuse3"], "1");
    std::size_t keys = 0;
    for (const auto& [section, values] : shown["data"].items())
        keys += values.size();
    EXPECT_EQ(keys, linesOf(cli({"project", "show", project}).out).size());

    const auto state = cli.folder().file("chip");
    ASSERT_EQ(
        cli({"-p", "sim", "--sim-state", state, "-P", project, "-y", "fuses", "program"}).exitCode,
        0);
    const json fuses = onlyObject(
        cli({"--json", "-p", "sim", "--sim-state", state, "-P", project, "fuses", "read"}).out);
    EXPECT_EQ(fuses["command"], "fuses read");
    EXPECT_EQ(fuses["data"]["lockMode"], 1);
    bool spien = false;
    for (const auto& fuse : fuses["data"]["fuses"])
        if (fuse["name"] == "SPIEN")
            spien = fuse["programmed"];
    EXPECT_TRUE(spien);
}
