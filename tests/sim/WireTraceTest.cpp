#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SimHarness.h"
#include "sim/WireTrace.h"
#include "support/ScratchFolder.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::SimHarness;

TEST(WireTraceTest, LineFormat) {
    EXPECT_EQ(WireTrace::formatLine(Direction::HostToBoard, Bytes{0x25}, 0), "0.000 > 25");
    EXPECT_EQ(WireTrace::formatLine(Direction::BoardToHost, Bytes{0x2B, 0x0D, 0xAB}, 1234567),
              "1234.567 < 2B 0D AB");
}

TEST(WireTraceTest, RunsEndAtADirectionChangeOrAPause) {
    WireTrace trace;
    trace.keepInMemory(true);
    trace.record(Direction::HostToBoard, Bytes{0x26}, 1000);
    trace.record(Direction::HostToBoard, Bytes{0x02}, 1500);  // the same run
    trace.record(Direction::BoardToHost, Bytes{0x0D}, 1500);
    trace.record(Direction::HostToBoard, Bytes{0x1B}, 1500);
    trace.record(Direction::HostToBoard, Bytes{0x25}, 51500);  // after a 50 ms pause
    trace.flush();
    EXPECT_EQ(trace.lines(), (std::vector<std::string>{"1.000 > 26 02", "1.500 < 0D", "1.500 > 1B",
                                                       "51.500 > 25"}));
}

TEST(WireTraceTest, SessionTraceShowsTheHostsPausesOnTheBoardsClock) {
    SimHarness sim;
    sim.clock.sleepMs(50);
    sim.exchange({'%'}, 1);
    sim.clock.sleepMs(50);
    sim.send({'@'});
    sim.clock.sleepMs(50);
    sim.receive(3);
    sim.board->trace().flush();
    EXPECT_EQ(sim.board->trace().lines(),
              (std::vector<std::string>{"50.000 > 25", "50.000 < 2B", "100.000 > 40",
                                        "100.000 < 31 30 39"}));
}

TEST(WireTraceTest, TraceFileGetsEveryLineByStop) {
    const zavuv::testing::ScratchFolder folder;
    const auto path = folder.path() / "trace.txt";
    {
        SimOptions options;
        options.traceFile = path.string();
        SimHarness sim(options);
        sim.exchange({'&', 0x02}, 1);
        EXPECT_EQ(sim.board->stop(), "");
    }
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), "0.000 > 26 02\n0.000 < 0D\n");
}

TEST(WireTraceTest, UnwritableTraceFileStopsTheBoardFromStarting) {
    SimOptions options;
    options.traceFile = "/nonexistent-folder/trace.txt";
    std::string error;
    EXPECT_EQ(SimulatedBoard::create(options, error), nullptr);
    EXPECT_NE(error.find("/nonexistent-folder/trace.txt"), std::string::npos);
}

}  // namespace
}  // namespace zavuv::sim
