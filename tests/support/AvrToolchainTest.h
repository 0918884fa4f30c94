#pragma once
// The fixture of the tests that build images with Debian's AVR tool chain.

#include <gtest/gtest.h>

#include <string>

#include "support/AvrToolchain.h"

namespace zavuv::testing {

// Tests that build with avr-gcc: skipped, naming the missing packages, only
// where the tool chain cannot be installed (scripts/setup.sh installs it).
class AvrToolchainTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = missingAvrToolchain(); !missing.empty())
            GTEST_SKIP() << missing;
    }
};

}  // namespace zavuv::testing
