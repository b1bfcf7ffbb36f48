#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Widgets are tested without a display, on one 1920 x 1080 screen.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KAVLON_TEST_DATA "/offscreen-screen.json");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", "/tmp");
    // Settings of a window whose folder is not its own go to the user's configuration
    // folder: a scratch one here, never the developer's.
    const QTemporaryDir userConfig;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userConfig.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
