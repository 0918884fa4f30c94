#include <algorithm>
#include <memory>
#include <set>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTesting.h"
#include "support/BoardSimProcess.h"
#include "support/TextLines.h"

using zavuv::testing::BoardSimProcess;
using zavuv::testing::CliRun;
using zavuv::testing::ScratchFolder;

using zavuv::testing::linesOf;
namespace {

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.emplace_back();
    return fields;
}

// A production line of zavuv-boardsim boards on pseudo-terminals, each chip
// kept in a folder of its own.
class ProductionLine {
public:
    ProductionLine(const ScratchFolder& folder, int boards, int faultyBoard,
                   const std::string& fault)
        : folder_(folder) {
        for (int i = 0; i < boards; ++i) {
            std::vector<std::string> arguments{"--sim-chip", "ATmega8", "--sim-state", state(i)};
            if (i == faultyBoard)
                arguments.insert(arguments.end(), {"--sim-fault", fault});
            boards_.push_back(std::make_unique<BoardSimProcess>(ZAVUV_BOARDSIM_PATH, arguments));
        }
    }
    std::string ports() const {
        std::string list;
        for (const auto& board : boards_)
            list += (list.empty() ? "" : ",") + board->devicePath();
        return list;
    }
    const std::string& port(int i) const { return boards_[i]->devicePath(); }
    // The serial number each chip holds, once the boards have written their chips.
    std::vector<int> chipNumbers() {
        std::vector<int> numbers;
        for (std::size_t i = 0; i < boards_.size(); ++i) {
            boards_[i]->terminate();
            numbers.push_back(static_cast<unsigned char>(
                ScratchFolder::read(state(static_cast<int>(i)) + "/flash.bin").at(3)));
        }
        return numbers;
    }

private:
    std::string state(int i) const { return folder_.file("chip" + std::to_string(i)); }

    const ScratchFolder& folder_;
    std::vector<std::unique_ptr<BoardSimProcess>> boards_;
};

struct GangJob {
    GangJob() {
        std::string image(64, '\x11');
        image[0] = image[1] = image[2] = 0;
        image[3] = 0x09;
        flash = cli.folder().write("serial.bin", image);
        project = cli.folder().write(
            "job.kb2", "[Files]\nFlash=" + flash +
                           "\n[AutoProgram]\nAutoErase=1\nAutoFlashProgram=1\nAutoFlashVerify=1\n"
                           "AutoIncrementFlash=1\nAutoIncAddressFlash=3\n");
        log = cli.folder().file("line.csv");
    }
    int fileNumber() const { return static_cast<unsigned char>(cli.folder().read(flash)[3]); }

    CliRun cli;
    std::string flash;
    std::string project;
    std::string log;
};

}  // namespace

// Four boards program one project at once: four different serial numbers and
// four log lines. A board whose line hangs up fails alone with its message; the
// number it took stays unused, and the next run goes on from the file.
TEST(CliGang, FourBoardsProgramFourNumbersAndOneFailsAlone) {
    GangJob job;
    ProductionLine line(job.cli.folder(), 4, 2, "hangup-after=150");
    const auto result = job.cli(
        {"-p", line.ports(), "-d", "ATmega8", "-P", job.project, "--log", job.log, "autoprogram"});
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    const auto out = linesOf(result.out);
    EXPECT_EQ(out.back(), "GANG: 3 OK, 1 failed");
    for (const int board : {0, 1, 3}) {
        const std::string prefix = "[" + line.port(board) + "] ";
        EXPECT_NE(result.out.find(prefix + "AUTOPROGRAM: OK\n"), std::string::npos) << prefix;
        EXPECT_NE(result.out.find(prefix + "Result: OK\n"), std::string::npos);
    }
    const std::string failed = "[" + line.port(2) + "] ";
    EXPECT_NE(result.out.find(failed + "AUTOPROGRAM: Error\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(failed + "Result: Error (Connection error)\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.err.find(failed + "message: Connection error"), std::string::npos);

    const std::vector<int> numbers = line.chipNumbers();
    const std::set<int> distinct{numbers[0], numbers[1], numbers[3]};
    EXPECT_EQ(distinct.size(), 3u);
    for (const int number : distinct)
        EXPECT_TRUE(number >= 9 && number <= 12) << number;
    EXPECT_EQ(job.fileNumber(), 13);

    const auto log = linesOf(ScratchFolder::read(job.log), "\r\n");
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0], "time,port,board_serial,chip,signature,serial_number,flash_checksum,"
                      "eeprom_checksum,result,error,duration_s");
    int okLines = 0;
    for (std::size_t i = 1; i < log.size(); ++i) {
        const auto fields = csvFields(log[i]);
        ASSERT_EQ(fields.size(), 11u) << log[i];
        EXPECT_EQ(fields[2], "5A 56 53 00 01");
        EXPECT_EQ(fields[3], "ATmega8");
        if (fields[8] == "OK") {
            ++okLines;
            EXPECT_EQ(fields[4], "1E 93 07");
            const int board = fields[1] == line.port(0) ? 0 : fields[1] == line.port(1) ? 1 : 3;
            EXPECT_EQ(std::stoi(fields[5], nullptr, 16), numbers[board]) << log[i];
        } else {
            EXPECT_EQ(fields[1], line.port(2));
            EXPECT_EQ(fields[5], "");
            EXPECT_EQ(fields[9], "Connection error");
        }
    }
    EXPECT_EQ(okLines, 3);

    // The next run: three boards, --json; the numbers go on from 13.
    ProductionLine next(job.cli.folder(), 3, -1, "");
    const auto second = job.cli({"-p", next.ports(), "-d", "ATmega8", "-P", job.project, "--log",
                                 job.log, "--json", "autoprogram"});
    ASSERT_EQ(second.exitCode, 0) << second.out << second.err;
    const std::vector<int> nextNumbers = next.chipNumbers();
    EXPECT_EQ(std::set<int>(nextNumbers.begin(), nextNumbers.end()), (std::set<int>{13, 14, 15}));
    EXPECT_EQ(job.fileNumber(), 16);
    EXPECT_EQ(linesOf(ScratchFolder::read(job.log), "\r\n").size(), 8u);

    // Standard output is the JSON alone, one object per board; its facts are
    // those of the text lines on standard error.
    const auto objects = linesOf(second.out);
    ASSERT_EQ(objects.size(), 3u) << second.out;
    for (int board = 0; board < 3; ++board) {
        const auto report = nlohmann::json::parse(objects[board]);
        EXPECT_EQ(report["command"], "autoprogram");
        EXPECT_EQ(report["port"], next.port(board));
        EXPECT_EQ(report["ok"], true);
        EXPECT_EQ(report["exitCode"], 0);
        EXPECT_EQ(report["chip"], "ATmega8");
        EXPECT_EQ(report["boardSerial"], "5A 56 53 00 01");
        EXPECT_EQ(std::stoi(report["serialNumber"].get<std::string>(), nullptr, 16),
                  nextNumbers[board]);
        std::vector<std::string> status;
        const std::string prefix = "[" + next.port(board) + "] ";
        for (const std::string& text : linesOf(second.err))
            if (text.rfind(prefix, 0) == 0 && text.find("message: ") != prefix.size() &&
                text.rfind(prefix + "Result: ", 0) != 0)
                status.push_back(text.substr(prefix.size()));
        EXPECT_EQ(report["status"].get<std::vector<std::string>>(), status);
        EXPECT_EQ(status.back(), "AUTOPROGRAM: OK");
    }
    EXPECT_EQ(linesOf(second.err).back(), "GANG: 3 OK, 0 failed");
}

TEST(CliGang, OnlyChipCommandsRunOnSeveralBoards) {
    CliRun cli;
    auto result = cli({"-p", "sim,sim", "info"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: 'info' runs on one board only: give one port with -p\n");
    result = cli({"-p", "3", "-p", "3", "-d", "ATmega8", "signature"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "message: The port 3 is given more than once\n");
}

// Repeated "-p sim": separate simulated boards sim1, sim2, each chip in a
// sub-folder of --sim-state; without -y a question is answered No on every board.
TEST(CliGang, SimulatedBoardsKeepTheirChipsApart) {
    CliRun cli;
    const std::string state = cli.folder().file("chips");
    const std::string image = cli.folder().write("a.bin", std::string(32, '\x5A'));
    auto result = cli(
        {"-p", "sim", "-p", "sim", "--sim-state", state, "-d", "ATmega8", "program-flash", image});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("[sim1] Flash program: Done (32 bytes programmed)"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("[sim2] "), std::string::npos);
    EXPECT_EQ(linesOf(result.out).back(), "GANG: 2 OK, 0 failed");
    for (const char* board : {"sim1", "sim2"})
        EXPECT_EQ(ScratchFolder::read(state + "/" + board + "/flash.bin").substr(0, 32),
                  std::string(32, '\x5A'))
            << board;
}
