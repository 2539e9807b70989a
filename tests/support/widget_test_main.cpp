// The main of the widget tests: one application on Qt's screenless platform.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Also when the test list is read, which happens without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
