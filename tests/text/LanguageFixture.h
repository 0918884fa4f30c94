#pragma once
// Tests that switch the process-wide language put English back afterwards, so
// that the order in which tests run never matters.

#include <gtest/gtest.h>

#include "text/UiText.h"

namespace zavuv::text::testing {

class LanguageFixture : public ::testing::Test {
protected:
    void TearDown() override { setLanguage(Language::English); }
};

}  // namespace zavuv::text::testing
