#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Widgets are tested without a display, on one 1920 x 1080 screen.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KAVLON_TEST_DATA "/offscreen-screen.json");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", "/tmp");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
