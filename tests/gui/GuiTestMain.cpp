// The GUI tests need a QApplication around every test. CTest runs them on the
// offscreen platform (QT_QPA_PLATFORM=offscreen); listing the tests, which the
// build does to register them, needs no application at all.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
