// The zavuv manual page against the program's own command line: each switch
// the program takes is named in bold there.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/shell/StartOptions.h"
#include "support/ScratchFolder.h"
#include "workspace/CommandLine.h"

using namespace zavuv;
using namespace zavuv::app;

namespace {

// The words of the bold lines (.B, .BR, .BI), with roff's minus signs as
// plain hyphens.
std::set<std::string> boldWords(const std::string& page) {
    std::set<std::string> words;
    std::istringstream lines(page);
    const std::regex boldMacro(R"(^\.B[IR]? )");
    const std::regex word(R"([A-Za-z0-9-]+)");
    for (std::string line; std::getline(lines, line);) {
        if (!std::regex_search(line, boldMacro))
            continue;
        line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
        for (std::sregex_iterator it(line.begin(), line.end(), word), end; it != end; ++it)
            words.insert(it->str());
    }
    return words;
}

}  // namespace

TEST(ManPage, NamesTheProgramsSwitchesInBold) {
    const std::set<std::string> words =
        boldWords(zavuv::testing::ScratchFolder::read(ZAVUV_PACKAGING "/man/zavuv.1"));
    EXPECT_TRUE(words.count(shell::kSimulateOption)) << shell::kSimulateOption;
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), workspace::isAutoProgramSwitch))
        << "the auto-program switch";
}
